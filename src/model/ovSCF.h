#pragma once

#include <QString>

// The S curve files of a KRV Definition: the Data Source File with its task worksheet and
// header row, the Template File with its two worksheets, and the Output File; plus the default
// Template and Output File computed from the preferences when the object is created.
class TovSCF {
public:
    static constexpr int MaxPathLength = 260;
    static constexpr int MaxPasswordLength = 255;
    static constexpr int MaxWorksheetNameLength = 31;

    TovSCF();
    // Computes the two defaults from the preferences and sets every stored field to its default.
    void SetDefaults();

    QString getDefaultTF() const { return DefaultTF; }
    QString getDefaultOF() const { return DefaultOF; }

    QString getDSF_DrivePathFilenameExtnXL() const;
    QString getDSF_OpenPasswordXL() const { return DSF_OpenPasswordXL; }
    QString getDSF_TaskWS() const { return DSF_TaskWS; }
    int getDSF_THR() const { return DSF_THR; }
    QString getTF_DrivePathFilenameExtnXL() const;
    QString getTF_OpenPasswordXL() const { return TF_OpenPasswordXL; }
    QString getTF_ProjectSummaryWS() const { return TF_ProjectSummaryWS; }
    QString getTF_ChartDataWS() const { return TF_ChartDataWS; }
    QString getOF_DrivePathFilenameExtnXL() const;

    QString getDSF_FilenameExtnXL() const;
    QString getTF_FilenameExtnXL() const;
    QString getOF_FilenameExtnXL() const;
    // The Output File's folder with its trailing "/".
    QString getOF_DrivePath() const;

    void setDSF_DrivePathFilenameExtnXL(const QString& value);
    void setDSF_OpenPasswordXL(const QString& value);
    void setDSF_TaskWS(const QString& value);
    void setDSF_THR(int value);
    void resetDSF_THR() { setDSF_THR(1); }
    void setTF_DrivePathFilenameExtnXL(const QString& value);
    void setTF_OpenPasswordXL(const QString& value);
    void setTF_ProjectSummaryWS(const QString& value);
    void setTF_ChartDataWS(const QString& value);
    void setOF_DrivePathFilenameExtnXL(const QString& value);

    // The first worksheet row of the chart data block.
    static int getChartDataFirstRow() { return 8; }

    // Post-load repair of definition n; sample moves the three paths to this installation.
    // True when a stored value changed (the sample move does not count).
    [[nodiscard]] bool Validate(int n, bool sample);

private:
    QString DefaultTF;
    QString DefaultOF;
    QString DSF_DrivePathFilenameExtnXL;
    QString DSF_OpenPasswordXL;
    QString DSF_TaskWS;
    int DSF_THR = 1;
    QString TF_DrivePathFilenameExtnXL;
    QString TF_OpenPasswordXL;
    QString TF_ProjectSummaryWS;
    QString TF_ChartDataWS;
    QString OF_DrivePathFilenameExtnXL;
};
