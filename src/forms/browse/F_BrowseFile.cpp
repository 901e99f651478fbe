#include "forms/browse/F_BrowseFile.h"

#include "model/ovDF.h"
#include "services/TextIds.h"
#include "services/ovUIL.h"
#include "services/ovUP.h"

#include <QFileInfo>
#include <QListView>

TUF_BrowseFile* UF_BrowseFile = nullptr;

namespace {

TListWindowKind kind() {
    TListWindowKind k;
    k.InitTextId = 22;
    k.Slot = 2;
    k.CreationMinimum = QSize(288, 168);
    k.GetAutoSize = &TovUP::getAutoSizeBrowseFile;
    k.SetAutoSize = &TovUP::setAutoSizeBrowseFile;
    k.ClosesProgress = false;
    k.ResetsMinimumOnActivation = false;
    return k;
}

QString lines(const QString& first, const QString& second) {
    return first + QLatin1Char('\n') + second;
}

} // namespace

TUF_BrowseFile::TUF_BrowseFile(QWidget* parent) : TUF_BrowseBase(kind(), parent) {
    setSections({UIT(txt::ID_218), UIT(txt::File_219)});
    setButtonCaptions(UIT(txt::AutoSize_220), QString(), QString(), UIT(txt::Select),
                      UIT(txt::Cancel_222));
    setListHint(lines(UIT(txt::SelectDataFileToOpen), UIT(txt::ShortcutDoubleClickToOpen)));
    setButtonHints(UIT(txt::EnableToAutomaticallyResizeForm), QString(), QString(),
                   lines(UIT(txt::OpenSelectedDataFile), UIT(txt::ShortcutAltS_1014)),
                   lines(UIT(txt::CancelDoNotOpenSelected), UIT(txt::ShortcutEsc_1016)));
    setStatusTexts({UIT(txt::TotalFiles), QStringLiteral("0")});
    setBrowseFile(this);
}

TUF_BrowseFile::~TUF_BrowseFile() {
    if (BrowseFile() == this) {
        setBrowseFile(nullptr);
    }
    if (UF_BrowseFile == this) {
        UF_BrowseFile = nullptr;
    }
}

void TUF_BrowseFile::setDPFE(const QString& value) {
    if (DPFE != value) {
        DPFE = value;
    }
}

void TUF_BrowseFile::Setup(const TovDF& df) {
    setWindowTitle(FramedCell(UIT(txt::SelectDataFile)));
    QStringList paths;
    Valid.clear();
    const int count = df.getFL_Count();
    paths.reserve(count);
    Valid.reserve(static_cast<size_t>(count));
    for (int i = 1; i <= count; ++i) {
        paths << df.getFL_DPFE(i);
        Valid.push_back(df.getFL_Valid(i));
    }
    Paths = paths;
    CheckPresence();
    setKeys(paths, FindPreselection(paths, DPFE, TPreselectCompare::Trimmed));
    setStatusTexts({UIT(txt::TotalFiles), QString::number(rowCount())});
    AutoSizeColumns();
    AutoSizePanels();
    listClicked();
}

int TUF_BrowseFile::Execute(const TovDF& df, QString& dpfe) {
    setDPFE(dpfe);
    Setup(df);
    const int result = exec();
    if (result == 1) {
        dpfe = DPFE;
    }
    return result;
}

QString TUF_BrowseFile::cellText(int row, int column) const {
    if (column == 0) {
        return QString::number(row + 1);
    }
    return keyAt(row);
}

bool TUF_BrowseFile::rowEnabled(int row) const {
    if (row < 0 || row >= static_cast<int>(Valid.size())) {
        return true;
    }
    return Valid[static_cast<size_t>(row)] && Present[static_cast<size_t>(row)];
}

void TUF_BrowseFile::CheckPresence() {
    Present.assign(Valid.size(), false);
    for (size_t i = 0; i < Present.size() && i < static_cast<size_t>(Paths.size()); ++i) {
        Present[i] = QFileInfo(Paths[static_cast<qsizetype>(i)].trimmed()).isFile();
    }
}

void TUF_BrowseFile::storeResult(int row) {
    const QString key = row >= 0 ? keyAt(row) : QString();
    DPFE = key;
}

void TUF_BrowseFile::listClicked() {
    const int row = selectedRow();
    setSelectEnabled(row >= 0 && rowEnabled(row));
}

void TUF_BrowseFile::afterActivation() {
    // A file may have gone since the list was made.
    CheckPresence();
    listClicked();
}
