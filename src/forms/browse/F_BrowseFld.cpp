#include "forms/browse/F_BrowseFld.h"

#include "forms/SlotGuard.h"
#include "model/ovSD.h"
#include "platform/Format.h"
#include "services/StrUtils.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"
#include "services/ovUP.h"
#include "services_ui/TextMetrics.h"
#include "services_ui/WorkArea.h"

#include <QCheckBox>
#include <QListView>

TUF_BrowseFld* UF_BrowseFld = nullptr;

namespace {

TListWindowKind kind() {
    TListWindowKind k;
    k.InitTextId = 24;
    k.Slot = 3;
    k.CreationMinimum = QSize(464, 193);
    k.GetAutoSize = &TovUP::getAutoSizeBrowseFld;
    k.SetAutoSize = &TovUP::setAutoSizeBrowseFld;
    k.GetAutoAlign = &TovUP::getAutoAlignBrowseFld;
    k.SetAutoAlign = &TovUP::setAutoAlignBrowseFld;
    k.HasRefresh = true;
    return k;
}

QString lines(const QString& first, const QString& second) {
    return first + QLatin1Char('\n') + second;
}

int importValueCount() {
    return UP != nullptr ? UP->getImportTaskFldValueCount() : 0;
}

} // namespace

TUF_BrowseFld::TUF_BrowseFld(QWidget* parent)
    : TUF_BrowseBase(kind(), parent), CB_ImportTaskFldDesc(new QCheckBox(this)) {
    setSections({UIT(txt::ID_235), UIT(txt::TaskField_236), UIT(txt::TaskFieldDescription_237)});
    setButtonCaptions(UIT(txt::AutoSize_240), UIT(txt::AutoAlign_241), UIT(txt::Refresh_242),
                      UIT(txt::Select_243), UIT(txt::Cancel_244));
    setButtonHints(UIT(txt::EnableToAutomaticallyResizeForm_1031),
                   UIT(txt::EnableToAutomaticallyAlignForm_1032),
                   lines(UIT(txt::RefreshTaskFieldList), UIT(txt::ShortcutAltR_1034)), QString(),
                   QString());
    setStatusTexts({UIT(txt::TotalTaskFields), QStringLiteral("0")});

    auto* panel = new QWidget(this);
    CB_ImportTaskFldDesc->setParent(panel);
    CB_ImportTaskFldDesc->setText(FramedCell(UIT(txt::ImportTaskFieldDescription)));
    CB_ImportTaskFldDesc->setToolTip(
        lines(UIT(txt::UseSelectedTaskFieldDescription), UIT(txt::ShortcutAltI)));
    const int height = (13 * DlgTextHeight + 6) / 13;
    const FrameMetrics m = frameMetrics();
    CB_ImportTaskFldDesc->setGeometry(
        8, 6, m.menuCheck + m.edge + textMeasurer().textWidth(font(), CB_ImportTaskFldDesc->text()),
        height);
    addDescriptionPanel(panel, height + 12);
    setUpdating(true);
    CB_ImportTaskFldDesc->setChecked(UP != nullptr && UP->getImportTaskFldDesc());
    setUpdating(false);
    connect(CB_ImportTaskFldDesc, &QCheckBox::clicked, this,
            [this] { GuardSlot([&] { ImportTaskFldDescClick(); }); });
    setBrowseFld(this);
}

TUF_BrowseFld::~TUF_BrowseFld() {
    if (BrowseFld() == this) {
        setBrowseFld(nullptr);
    }
    if (UF_BrowseFld == this) {
        UF_BrowseFld = nullptr;
    }
}

void TUF_BrowseFld::setTaskFld(const QString& value) {
    const QString field = UpperCaseAZ(value.trimmed());
    if (TaskFld != field) {
        TaskFld = field;
    }
}

void TUF_BrowseFld::Setup(TovSD& sd, const QString& caption, const TBrowseAnchor& anchor,
                          const QString& subject) {
    SD = &sd;
    setWindowTitle(FramedCell(caption));
    setAnchor(CalcAlignAnchor(anchor.Field, anchor.Button));
    const int valueCount = importValueCount();
    QStringList sections{UIT(txt::ID_235), UIT(txt::TaskField_236),
                         UIT(txt::TaskFieldDescription_237)};
    for (int k = 1; k <= valueCount; ++k) {
        sections << platform::Format(UIT(txt::TaskFieldValue_238), {k});
    }
    setSections(sections);

    QStringList fields;
    FieldRows.clear();
    const int count = sd.getFL_Count();
    fields.reserve(count);
    FieldRows.reserve(static_cast<size_t>(count));
    for (int i = 1; i <= count; ++i) {
        fields << sd.getFL_TaskFld(i);
        Row row{sd.getFL_TaskFldDesc(i), {}};
        for (int k = 1; k <= valueCount; ++k) {
            row.Values << sd.getFL_TaskFldValue(i, k);
        }
        FieldRows.push_back(std::move(row));
    }
    setKeys(fields, FindPreselection(fields, getTaskFld(), TPreselectCompare::TrimmedUpperCase));

    setListHint(
        lines(platform::Format(UIT(txt::Select_1027), {subject}),
              platform::Format(UIT(txt::ShortcutDoubleClickToUseSelected_1028), {subject})));
    setButtonHints(
        UIT(txt::EnableToAutomaticallyResizeForm_1031),
        UIT(txt::EnableToAutomaticallyAlignForm_1032),
        lines(UIT(txt::RefreshTaskFieldList), UIT(txt::ShortcutAltR_1034)),
        lines(platform::Format(UIT(txt::UseSelected_1035), {subject}), UIT(txt::ShortcutAltS_1036)),
        lines(platform::Format(UIT(txt::CancelDoNotUseSelected_1037), {subject}),
              UIT(txt::ShortcutEsc_1038)));
    setStatusTexts({UIT(txt::TotalTaskFields), QString::number(rowCount())});
    AutoSizeColumns();
    AutoSizePanels();
}

int TUF_BrowseFld::Execute(TovSD& sd, const QString& caption, const QString& subject,
                           const TBrowseAnchor& anchor, TBrowseFldResult& result) {
    setTaskFld(result.TaskFld);
    Setup(sd, caption, anchor, subject);
    const int modal = exec();
    if (modal == 1) {
        result.TaskFld = getTaskFld();
        result.TaskFldDesc = getTaskFldDesc();
        result.ImportTaskFldDesc = ImportTaskFldDesc;
    }
    return modal;
}

QString TUF_BrowseFld::cellText(int row, int column) const {
    if (column == 0) {
        return QString::number(row + 1);
    }
    if (row < 0 || row >= static_cast<int>(FieldRows.size())) {
        return {};
    }
    if (column == 1) {
        return keyAt(row);
    }
    const Row& field = FieldRows[static_cast<size_t>(row)];
    if (column == 2) {
        return field.Desc;
    }
    return column - 3 < field.Values.size() ? field.Values.at(column - 3) : QString();
}

void TUF_BrowseFld::storeResult(int row) {
    if (row < 0 || row >= static_cast<int>(FieldRows.size())) {
        TaskFld.clear();
        TaskFldDesc.clear();
        ImportTaskFldDesc = false;
        return;
    }
    TaskFld = keyAt(row);
    TaskFldDesc = FieldRows[static_cast<size_t>(row)].Desc;
    ImportTaskFldDesc = CB_ImportTaskFldDesc->isChecked();
}

void TUF_BrowseFld::clearCache() {
    if (SD != nullptr) {
        SD->setFL_Loaded(false);
    }
}

void TUF_BrowseFld::afterActivation() {
    setUpdating(true);
    CB_ImportTaskFldDesc->setChecked(UP != nullptr && UP->getImportTaskFldDesc());
    setUpdating(false);
}

void TUF_BrowseFld::ImportTaskFldDescClick() {
    if (isUpdating()) {
        return;
    }
    if (UP != nullptr) {
        UP->setImportTaskFldDesc(CB_ImportTaskFldDesc->isChecked());
        UP->Save();
    }
    list()->setFocus();
}
