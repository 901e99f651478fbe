#include "forms/tabs/TabDSMModel.h"

#include "forms/tabs/TaskFieldSource.h"
#include "model/ModelUtils.h"
#include "model/ovDV.h"
#include "model/ovSD.h"
#include "platform/Format.h"
#include "services/StrUtils.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"

#include <utility>

using platform::Format;

namespace {

// The letters of a row as the checks read them.
QString LettersOf(const TDSMRow& row) {
    return modelutil::UpperAZ(TrimControl(row.TaskFld));
}

} // namespace

namespace dsm {

TDSMRows Load(TovSD& sd) {
    sd.DSM->SetDSMRequiredFields(TDSMRequiredOptions::Of(*sd.SCO));
    TDSMRows rows;
    for (int n = 1; n <= TDSMRows::Count; ++n) {
        const TovDSMx& entry = *sd.DSM->getItems(n);
        TDSMRow& row = rows.row(n);
        row.Name = entry.getName();
        row.TaskFld = entry.getTaskFldXL();
        row.TaskFldDesc = entry.getTaskFldDescXL();
        row.Required = entry.getTaskFldRequired();
    }
    return rows;
}

bool Store(TovSD& sd, const TDSMRows& rows) {
    bool changed = false;
    for (int n = 1; n <= TDSMRows::Count; ++n) {
        TovDSMx& entry = *sd.DSM->getItems(n);
        const TDSMRow& row = rows.row(n);
        const QString letters = TrimControl(row.TaskFld);
        const QString description = TrimControl(row.TaskFldDesc);
        if (entry.getTaskFldXL() != modelutil::UpperAZ(letters)) {
            entry.setTaskFldXL(letters);
            changed = true;
        }
        if (entry.getTaskFldDescXL() != modelutil::StoredText(description)) {
            entry.setTaskFldDescXL(description);
            changed = true;
        }
    }
    sd.DSM->SetDSMRequiredFields(TDSMRequiredOptions::Of(*sd.SCO));
    return changed;
}

QString FieldCaption(const TDSMRow& row) {
    return Format(UIT(txt::TaskField_779), {row.Name});
}

TDSMMarks Validate(const TDSMRows& rows, const QString& dataSourcePath) {
    TDSMMarks marks;
    const QString fileCaption = UIT(txt::DataSourceFile_747);
    auto mark = [&](int n) {
        TDSMRowMark& m = marks.at(static_cast<size_t>(n - 1));
        m.Marked = true;
        m.Hint = DV->getHintText();
    };
    auto fails = [&](int n) {
        const TDSMRow& row = rows.row(n);
        return DV->CheckTaskField({.FileCaption = fileCaption,
                                   .FilePath = dataSourcePath,
                                   .Letters = LettersOf(row),
                                   .FieldCaption = FieldCaption(row)});
    };
    for (int n = 1; n <= TDSMRows::Count; ++n) {
        if (rows.row(n).Required && fails(n)) {
            mark(n);
        }
    }
    for (int d = 1; d < TDSMRows::Count; ++d) {
        if (fails(d)) {
            continue;
        }
        for (int o = d + 1; o <= TDSMRows::Count; ++o) {
            if (DV->CheckSameEntry({.Caption = FieldCaption(rows.row(o)),
                                    .Entry = LettersOf(rows.row(o)),
                                    .OtherCaption = FieldCaption(rows.row(d)),
                                    .OtherEntry = LettersOf(rows.row(d))})) {
                mark(o);
                break;
            }
        }
    }
    for (int n = 1; n <= TDSMRows::Count; ++n) {
        if (!rows.row(n).Required && !LettersOf(rows.row(n)).isEmpty() && fails(n)) {
            mark(n);
        }
    }
    return marks;
}

bool AllBlank(const TDSMRows& rows) {
    for (const TDSMRow& row : rows.Rows) {
        if (!TrimControl(row.TaskFld).isEmpty()) {
            return false;
        }
    }
    return true;
}

TDSMDescUpdate UpdateDescriptions(TDSMRows& rows, const TovSD& sd, const QString& dataSourcePath) {
    TDSMDescUpdate counts;
    for (TDSMRow& row : rows.Rows) {
        const QString letters = LettersOf(row);
        const QString description = RefreshedDescription(
            sd, letters, ColumnOfLetters(dataSourcePath, letters) != 0, counts);
        if (row.TaskFldDesc != description) {
            row.TaskFldDesc = description;
            counts.Changed = true;
        }
    }
    return counts;
}

QStringList DescUpdateReport(const TDSMDescUpdate& counts) {
    QStringList lines{Format(UIT(txt::TaskFieldDescriptionsUpdated), {counts.Updated})};
    for (const auto& [count, text] : {std::pair{counts.NotFound, txt::TaskFieldsNotFound},
                                      std::pair{counts.Invalid, txt::InvalidTaskFields},
                                      std::pair{counts.Undefined, txt::UndefinedTaskFields}}) {
        if (count > 0) {
            lines << QString() << Format(UIT(text), {count});
        }
    }
    return lines;
}

QString InvalidLetterText(const QString& dataSourcePath) {
    return Format(UIT(txt::PleaseEnterValid), {UIT(txt::TaskField_777)}) + QStringLiteral("\r\n") +
           Format(UIT(txt::ValidRange_891),
                  {QStringLiteral("A"), LastColumnLetters(dataSourcePath)});
}

QChar FilterLetter(QChar key) {
    const char16_t code = key.unicode();
    if (code >= u'a' && code <= u'z') {
        return QChar(static_cast<char16_t>(code - u'a' + u'A'));
    }
    if ((code >= u'A' && code <= u'Z') || code == 8 || code == 13 || code == 27) {
        return key;
    }
    return QChar(0);
}

} // namespace dsm
