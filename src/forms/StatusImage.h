#pragma once

#include <QLabel>

// The status picture beside a validated field: the error picture with the failing check's text
// as its hint, or the ok picture without a hint. Tag: 0 nothing shown yet, 1 error, 2 ok.
class TStatusImage : public QLabel {
public:
    explicit TStatusImage(QWidget* parent = nullptr);
    int getTag() const { return Tag; }
    void setTag(int tag) { Tag = tag; }
    // How often the picture was drawn (a state that does not change is not redrawn).
    int getDrawCount() const { return DrawCount; }
    void Draw(const QPixmap& picture);

private:
    int Tag = 0;
    int DrawCount = 0;
};

// Shows the error or ok picture on a status picture; any other widget is left alone. An error
// already shown only takes the new message as its hint; an ok already shown is not redrawn.
void SetStatusImage(QWidget* image, const QString& message, bool isError);
