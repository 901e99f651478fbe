#pragma once

#include "forms/browse/BrowseBase.h"
#include "forms/browse/F_BrowseWindows.h"

#include <QStringList>
#include <vector>

// The Browse Files window: picks one data file out of several handed to the program at once
// (command line, a second instance, a drop). Entries the opener marked invalid, and files that
// do not exist (any more), stay listed, greyed, and cannot be chosen.
class TUF_BrowseFile : public TUF_BrowseBase, public IBrowseFile {
public:
    explicit TUF_BrowseFile(QWidget* parent = nullptr);
    ~TUF_BrowseFile() override;

    int Execute(const TovDF& df, QString& dpfe) override;

    QString getDPFE() const { return DPFE; }
    void setDPFE(const QString& value);
    // Lists every path of the data file's list and preselects the last choice.
    void Setup(const TovDF& df);

protected:
    QString cellText(int row, int column) const override;
    bool rowEnabled(int row) const override;
    void storeResult(int row) override;
    void listClicked() override;
    void afterActivation() override;

private:
    // Whether each listed file exists, checked when the list is made and at every activation.
    void CheckPresence();

    QStringList Paths;
    std::vector<bool> Valid;
    std::vector<bool> Present;
    QString DPFE;
};

extern TUF_BrowseFile* UF_BrowseFile;
