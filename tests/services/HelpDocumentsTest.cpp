#include "services/ovAD.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The Help menu's documents are built into the program's data folder under the names the
// program opens, and each is a PDF that a reader renders.
TEST(HelpDocuments, EachDocumentTheHelpMenuOpensIsARenderablePdf) {
    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    ASSERT_FALSE(pdftoppm.isEmpty()) << "pdftoppm (poppler-utils) is not installed";
    TovAD ad(TovAD::DefaultProgramFolder());
    const QString documents[] = {ad.getTutorialDPFE(), ad.getUserManualDPFE(),
                                 ad.getWhitePaperDPFE()};
    for (const QString& pdf : documents) {
        ASSERT_TRUE(QFileInfo(pdf).isFile()) << pdf.toStdString();
        QTemporaryDir out;
        QProcess render;
        render.start(pdftoppm, {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("20"),
                                QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                QStringLiteral("1"), pdf, out.filePath(QStringLiteral("page"))});
        ASSERT_TRUE(render.waitForFinished(60000)) << pdf.toStdString();
        EXPECT_EQ(render.exitCode(), 0)
            << pdf.toStdString() << render.readAllStandardError().constData();
        EXPECT_TRUE(QFileInfo(out.filePath(QStringLiteral("page-1.png"))).size() > 0 ||
                    QFileInfo(out.filePath(QStringLiteral("page-01.png"))).size() > 0)
            << pdf.toStdString();
    }
}

} // namespace
