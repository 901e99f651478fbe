#pragma once

#include <QString>

// The user preferences the definition model reads: the default template and output folder of
// new definitions, the output extension and the number of sample values per task field. The
// preferences service implements it; until it is installed the default below answers.
class IModelPrefs {
public:
    virtual ~IModelPrefs() = default;

    // 0 none, 1 automatic, 2 the .xls template, 3 the .xlsx template, 4 the user's own.
    virtual int getDefaultTFDDLItemIndex() const = 0;
    // 0 none, 1 Desktop, 2 Documents, 3 the user's own folder.
    virtual int getDefaultOFFolderDDLItemIndex() const = 0;
    virtual QString getTemplateXLS() const = 0;
    virtual QString getTemplateXLSX() const = 0;
    // The template of a new definition by the template choice.
    virtual QString getTemplateDPFE() const = 0;
    // The output folder of a new definition by the folder choice, ending in "/" or empty.
    virtual QString getDefaultOFFolder() const = 0;
    // The extension of new output workbooks with its dot.
    virtual QString getOFExtn() const = 0;
    // Sample values imported per task field, 0..5.
    virtual int getImportTaskFldValueCount() const = 0;
};

// The preferences with their factory defaults (or whatever a test sets in the fields).
class TovModelPrefsDefault : public IModelPrefs {
public:
    int DefaultTFDDLItemIndex = 1;
    QString DefaultTFOther;
    int DefaultOFFolderDDLItemIndex = 2;
    QString DefaultOFFolderOther;
    int DefaultXLExtn = 0; // 0 Auto, 1 xls, 2 xlsx
    int ImportTaskFldValueCount = 3;
    // The program folder ending in "/"; empty takes the application data's.
    QString ProgramFolder;

    int getDefaultTFDDLItemIndex() const override { return DefaultTFDDLItemIndex; }
    int getDefaultOFFolderDDLItemIndex() const override { return DefaultOFFolderDDLItemIndex; }
    QString getTemplateXLS() const override;
    QString getTemplateXLSX() const override;
    QString getTemplateDPFE() const override;
    QString getDefaultOFFolder() const override;
    QString getOFExtn() const override;
    int getImportTaskFldValueCount() const override { return ImportTaskFldValueCount; }

private:
    QString TemplateBase() const;
};

// The preferences in use: the ones installed at start-up, or the factory defaults.
IModelPrefs* ModelPrefs();
void setModelPrefs(IModelPrefs* prefs);

// Answers through the preferences service: start-up installs TModelPrefsOf<TovUP>(UP) once UP
// exists.
template <typename UPType> class TModelPrefsOf : public IModelPrefs {
public:
    explicit TModelPrefsOf(UPType* up) : Up(up) {}

    int getDefaultTFDDLItemIndex() const override { return Up->getDefaultTFDDLItemIndex(); }
    int getDefaultOFFolderDDLItemIndex() const override {
        return Up->getDefaultOFFolderDDLItemIndex();
    }
    QString getTemplateXLS() const override { return Up->getTemplateXLS(); }
    QString getTemplateXLSX() const override { return Up->getTemplateXLSX(); }
    QString getTemplateDPFE() const override { return Up->getTemplateDPFE(); }
    QString getDefaultOFFolder() const override { return Up->getDefaultOFFolder(); }
    QString getOFExtn() const override { return Up->getOFExtn(); }
    int getImportTaskFldValueCount() const override { return Up->getImportTaskFldValueCount(); }

private:
    UPType* Up;
};
