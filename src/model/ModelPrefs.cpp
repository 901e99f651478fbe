#include "model/ModelPrefs.h"

#include "model/ModelUtils.h"
#include "model/XLLimits.h"
#include "services/ovAD.h"
#include "services/ovUIL.h"

namespace {
IModelPrefs* installedPrefs = nullptr;
}

QString TovModelPrefsDefault::TemplateBase() const {
    QString folder = ProgramFolder;
    if (folder.isEmpty()) {
        folder = AD != nullptr ? AD->getExePath() : TovAD::DefaultProgramFolder();
    }
    return folder + QStringLiteral("Templates/Ovik_KRV_Tessel_Template");
}

QString TovModelPrefsDefault::getTemplateXLS() const {
    return TemplateBase() + QStringLiteral(".xls");
}

QString TovModelPrefsDefault::getTemplateXLSX() const {
    return TemplateBase() + QStringLiteral(".xlsx");
}

QString TovModelPrefsDefault::getTemplateDPFE() const {
    switch (DefaultTFDDLItemIndex) {
    case 0:
        return QString();
    case 2:
        return getTemplateXLS();
    case 3:
        return getTemplateXLSX();
    case 4:
        return TrimControl(DefaultTFOther);
    default:
        return modelutil::SameTextAZ(XLLimits()->DefaultExtension(), QStringLiteral("xls"))
                   ? getTemplateXLS()
                   : getTemplateXLSX();
    }
}

QString TovModelPrefsDefault::getDefaultOFFolder() const {
    switch (DefaultOFFolderDDLItemIndex) {
    case 0:
        return QString();
    case 1:
        return modelutil::DesktopFolder();
    case 3:
        return TrimControl(DefaultOFFolderOther);
    default:
        return modelutil::DocumentsFolder();
    }
}

QString TovModelPrefsDefault::getOFExtn() const {
    switch (DefaultXLExtn) {
    case 1:
        return QStringLiteral(".xls");
    case 2:
        return QStringLiteral(".xlsx");
    default:
        return QLatin1Char('.') + XLLimits()->DefaultExtension();
    }
}

IModelPrefs* ModelPrefs() {
    static TovModelPrefsDefault fallback;
    return installedPrefs != nullptr ? installedPrefs : &fallback;
}

void setModelPrefs(IModelPrefs* prefs) {
    installedPrefs = prefs;
}
