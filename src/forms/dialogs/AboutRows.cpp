#include "forms/dialogs/AboutRows.h"

#include "excel/ovOCP.h"
#include "excel/ovXL.h"
#include "platform/Format.h"
#include "services/TextIds.h"
#include "services/ovAD.h"
#include "services/ovUIL.h"

QString MakerWebsite() {
    return QStringLiteral("https://www.tarrow-studio.example/");
}

std::vector<TAboutRow> AboutRows(const TAboutFacts& facts) {
    return {
        {195, QStringLiteral("Ovik KRV Tessel: Curvewright"), false},
        {196, facts.Version, false},
        {202, facts.ExcelVersion, false},
        {203, facts.CompatibilityPack, false},
        {206, platform::Format(UIT(txt::CopyrightCTarrowStudioAll), {LegalYears()}), false},
        {207, MakerWebsite(), true},
    };
}

TAboutFacts CurrentAboutFacts() {
    TAboutFacts facts;
    facts.Version = AD != nullptr ? AD->getVersion() : QString();
    facts.ExcelVersion = XL != nullptr ? XL->ExcelVersionText() : QString();
    facts.CompatibilityPack = OCP != nullptr ? OCP->getProductName() : QString();
    return facts;
}
