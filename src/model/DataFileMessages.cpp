#include "model/DataFileMessages.h"

#include "platform/Format.h"
#include "services/StdDlg.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"

namespace datafile {

namespace {

TStdDlgButton Button(int glyph, int result, int caption, int hint) {
    TStdDlgButton b;
    b.ImageIndex = glyph;
    b.ModalResult = result;
    b.Caption = UIT(caption);
    b.Hint = UIT(hint);
    return b;
}

TStdDlgButton Yes(int hint) {
    return Button(glyphYes, mrYes, 362, hint);
}
TStdDlgButton No(int hint) {
    return Button(glyphNo, mrNo, 359, hint);
}
TStdDlgButton Cancel(int hint) {
    return Button(glyphCancel, mrCancel, 356, hint);
}
TStdDlgButton Close(int hint) {
    return Button(glyphClose, mrClose, 357, hint);
}

} // namespace

int AskYesNo(const QString& key, const QStringList& lines, int yesHint, int noHint) {
    IStdDlg* dlg = StdDlg();
    if (dlg == nullptr) {
        return mrNo;
    }
    dlg->MsgLines = lines;
    dlg->SetupStdDlgButtons2(sdkQuestion, key, No(noHint), Yes(yesHint));
    return dlg->ShowModal();
}

int AskYesNoCancel(const QString& key, const QStringList& lines, int yesHint, int noHint,
                   int cancelHint) {
    IStdDlg* dlg = StdDlg();
    if (dlg == nullptr) {
        return mrCancel;
    }
    dlg->MsgLines = lines;
    dlg->SetupStdDlgButtons3(sdkQuestion, key, Cancel(cancelHint), No(noHint), Yes(yesHint));
    return dlg->ShowModal();
}

void WarnClose(const QString& key, const QStringList& lines, int closeHint) {
    IStdDlg* dlg = StdDlg();
    if (dlg == nullptr) {
        return;
    }
    dlg->MsgLines = lines;
    dlg->SetupStdDlgButtons1(sdkWarning, key, Close(closeHint));
    dlg->ShowModal();
}

QStringList DetailsLines(const QString& message) {
    if (message.isEmpty()) {
        return {};
    }
    return {platform::Format(UIT(txt::Details_1423), {message}), QString()};
}

void WarnNotSaved(const QString& path, const QString& details) {
    QStringList lines = {UIT(txt::DataFileCould), QString(), path, QString()};
    lines << DetailsLines(details);
    WarnClose(QStringLiteral("UDF020"), lines, 1221);
}

} // namespace datafile
