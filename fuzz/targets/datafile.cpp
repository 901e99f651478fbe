// The data file loader: any bytes are read as a data file of any of its three layouts (the
// layout is recognised by content), validated, or refused with a message; every question is
// answered Yes so that files of other versions are read too.
#include "FuzzSupport.h"
#include "model/ovDF.h"
#include "model/ovDV.h"
#include "model/ovSD.h"
#include "support/FakeDataFile.h"
#include "support/FakeStdDlg.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzsupport::startHeadless();
    const QString path =
        fuzzsupport::writeInput(fuzzsupport::bytes(data, size), QStringLiteral("input.krvc"));
    testsupport::FakeStdDlg dialogue;
    dialogue.answers.assign(64, mrYes);
    testsupport::FakeDataFileView view;
    SDs = new TovSDs();
    DV = new TovDV();
    DF = new TovDF();
    DF->setView(&view);
    DF->OpenDataFile(path, false);
    delete DF;
    DF = nullptr;
    delete DV;
    DV = nullptr;
    delete SDs;
    SDs = nullptr;
    return 0;
}
