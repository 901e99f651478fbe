#pragma once

#include <QString>
#include <QStringList>

// The dialogue font's line height and average character width as the desktop measures them
// (MeasureIconTitleFont of the window services); the designed metrics when it cannot.
struct TDialogFontSize {
    int textHeight = 13;
    int avgCharWidth = 6;
};

// What the program knows about itself and its installation: program folder, version, the paths
// of the sample data file and the documents, the Add/Rename/Copy mode and the message log.
class TovAD {
public:
    // programFolder: the folder the program's files are installed in, ending in "/"; empty to
    // take the installed data folder beside the running program. dialogFont sets the dialogue
    // metrics below.
    explicit TovAD(const QString& programFolder = QString(),
                   const TDialogFontSize& dialogFont = TDialogFontSize());
    TovAD(const TovAD&) = delete;
    TovAD& operator=(const TovAD&) = delete;

    QString getExePath() const;
    QString getExeName() const;
    QString getVersion() const;
    QString getSampleDPFE() const { return SampleDPFE.trimmed(); }
    QString getTutorialDPFE() const { return TutorialDPFE.trimmed(); }
    QString getUserManualDPFE() const { return UserManualDPFE.trimmed(); }
    QString getWhitePaperDPFE() const { return WhitePaperDPFE.trimmed(); }
    QString getSamplePath() const;
    QString getTutorialPath() const;
    QString getUserManualPath() const;
    QString getWhitePaperPath() const;

    bool getAddSD() const { return AddSD; }
    bool getRenameSD() const { return RenameSD; }
    bool getCopySD() const { return CopySD; }
    void setAddSD(bool value) { AddSD = value; }
    void setRenameSD(bool value) { RenameSD = value; }
    void setCopySD(bool value) { CopySD = value; }

    bool getIsWin7() const { return IsWin7; }
    bool getIsVista() const { return IsVista; }

    // The lines of the current operation's messages, shown by the dialogues.
    QStringList MessageLog;

    // The installed data folder beside the running program, ending in "/".
    static QString DefaultProgramFolder();

private:
    void Init(const TDialogFontSize& dialogFont);

    QString ProgramFolder;
    QString SampleFilename;
    QString TutorialFilename;
    QString UserManualFilename;
    QString WhitePaperFilename;
    QString SampleDPFE;
    QString TutorialDPFE;
    QString UserManualDPFE;
    QString WhitePaperDPFE;
    QString Version;
    bool AddSD = false;
    bool RenameSD = false;
    bool CopySD = false;
    bool IsWin7 = false;
    bool IsVista = false;
};

extern TovAD* AD;

// Dialog metrics set when AD is created from the measured dialogue font.
extern int DlgTextHeight;
extern int DlgAvgCharWidth;
extern int DlgImageWidth;
extern int DlgImageHeight;
extern int DlgSmallBtnMargin;
extern int DlgBBtnMargin;
extern int DlgSBtnMargin;

// The year range of the program's copyright notice (legal lines of the splash, the About window
// and the data file).
QString LegalYears();

// Whether the program runs as a 32-bit process on a 64-bit system: never, on this platform.
bool IsWow64();
