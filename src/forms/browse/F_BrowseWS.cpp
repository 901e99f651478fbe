#include "forms/browse/F_BrowseWS.h"

#include "model/ovSD.h"
#include "platform/Format.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"
#include "services/ovUP.h"

#include <QListView>

TUF_BrowseWS* UF_BrowseWS = nullptr;

namespace {

TListWindowKind kind() {
    TListWindowKind k;
    k.InitTextId = 23;
    k.Slot = 5;
    k.CreationMinimum = QSize(464, 168);
    k.GetAutoSize = &TovUP::getAutoSizeBrowseWS;
    k.SetAutoSize = &TovUP::setAutoSizeBrowseWS;
    k.GetAutoAlign = &TovUP::getAutoAlignBrowseWS;
    k.SetAutoAlign = &TovUP::setAutoAlignBrowseWS;
    k.HasRefresh = true;
    return k;
}

QString lines(const QString& first, const QString& second) {
    return first + QLatin1Char('\n') + second;
}

} // namespace

TUF_BrowseWS::TUF_BrowseWS(QWidget* parent) : TUF_BrowseBase(kind(), parent) {
    setSections({UIT(txt::ID_225), QString()});
    setButtonCaptions(UIT(txt::AutoSize_227), UIT(txt::AutoAlign), UIT(txt::Refresh_229),
                      UIT(txt::Select_230), UIT(txt::Cancel_231));
    setButtonHints(
        UIT(txt::EnableToAutomaticallyResizeForm_1019), UIT(txt::EnableToAutomaticallyAlignForm),
        lines(UIT(txt::RefreshWorksheetList), UIT(txt::ShortcutAltR_1022)), QString(), QString());
    setStatusTexts({UIT(txt::TotalWorksheets), QStringLiteral("0")});
    setBrowseWS(this);
}

TUF_BrowseWS::~TUF_BrowseWS() {
    if (BrowseWS() == this) {
        setBrowseWS(nullptr);
    }
    if (UF_BrowseWS == this) {
        UF_BrowseWS = nullptr;
    }
}

void TUF_BrowseWS::setWS(const QString& value) {
    if (WS != value) {
        WS = value;
    }
}

void TUF_BrowseWS::Setup(TovSD& sd, const QString& fileDesc, const QString& worksheetDesc,
                         int wslIndex, const TBrowseAnchor& anchor) {
    SD = &sd;
    setWindowTitle(FramedCell(platform::Format(UIT(txt::Select_224), {fileDesc, worksheetDesc})));
    setAnchor(CalcAlignAnchor(anchor.Field, anchor.Button));
    setSections({UIT(txt::ID_225), platform::Format(UIT(txt::Worksheet), {fileDesc})});
    WSLIndex = wslIndex;

    QStringList names;
    const int count = sd.getWSL_Count(WSLIndex);
    names.reserve(count);
    for (int i = 1; i <= count; ++i) {
        names << sd.getWSL_WS(WSLIndex, i);
    }
    setKeys(names, FindPreselection(names, WS, TPreselectCompare::UpperCase));

    setListHint(
        lines(platform::Format(UIT(txt::Select_1017), {worksheetDesc}),
              platform::Format(UIT(txt::ShortcutDoubleClickToUseSelected), {worksheetDesc})));
    setButtonHints(UIT(txt::EnableToAutomaticallyResizeForm_1019),
                   UIT(txt::EnableToAutomaticallyAlignForm),
                   lines(UIT(txt::RefreshWorksheetList), UIT(txt::ShortcutAltR_1022)),
                   lines(platform::Format(UIT(txt::UseSelected), {worksheetDesc}),
                         UIT(txt::ShortcutAltS_1024)),
                   lines(platform::Format(UIT(txt::CancelDoNotUseSelected), {worksheetDesc}),
                         UIT(txt::ShortcutEsc_1026)));
    setStatusTexts({UIT(txt::TotalWorksheets), QString::number(rowCount())});
    AutoSizeColumns();
    AutoSizePanels();
}

int TUF_BrowseWS::Execute(TovSD& sd, const QString& fileDesc, const QString& worksheetDesc,
                          int wslIndex, const TBrowseAnchor& anchor, QString& ws) {
    setWS(ws);
    Setup(sd, fileDesc, worksheetDesc, wslIndex, anchor);
    const int result = exec();
    if (result == 1) {
        ws = WS;
    }
    return result;
}

QString TUF_BrowseWS::cellText(int row, int column) const {
    if (column == 0) {
        return QString::number(row + 1);
    }
    return keyAt(row);
}

void TUF_BrowseWS::storeResult(int row) {
    const QString key = row >= 0 ? keyAt(row) : QString();
    WS = key;
}

void TUF_BrowseWS::clearCache() {
    if (SD != nullptr) {
        SD->setWSL_Loaded(WSLIndex, false);
    }
}
