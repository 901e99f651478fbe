#include "forms/StatusImage.h"

#include "forms/MainIcons.h"

TStatusImage::TStatusImage(QWidget* parent) : QLabel(parent) {
    setFixedSize(22, 21);
}

void TStatusImage::Draw(const QPixmap& picture) {
    clear();
    setPixmap(picture);
    ++DrawCount;
}

void SetStatusImage(QWidget* image, const QString& message, bool isError) {
    auto* picture = dynamic_cast<TStatusImage*>(image);
    if (picture == nullptr) {
        return;
    }
    if (isError && picture->getTag() == 1) {
        picture->setToolTip(message);
        return;
    }
    if (!isError && picture->getTag() == 2) {
        return;
    }
    if (isError) {
        picture->Draw(StatusPicture(stError));
        picture->setToolTip(message);
        picture->setTag(1);
    } else {
        picture->Draw(StatusPicture(stOk));
        picture->repaint();
        picture->setToolTip(QString());
        picture->setTag(2);
    }
}
