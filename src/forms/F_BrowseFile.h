#pragma once

#include <QDialog>

// The Browse Files window (so far: created with the others at start-up).
class TUF_BrowseFile : public QDialog {
public:
    explicit TUF_BrowseFile(QWidget* parent = nullptr);
    ~TUF_BrowseFile() override;
};

extern TUF_BrowseFile* UF_BrowseFile;
