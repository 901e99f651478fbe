// Renders the help documents, written as Markdown in docs/, into the PDF files the Help menu opens:
// each document is laid out by Qt's rich text engine and printed page by page into a PDF writer.
// Pictures the Markdown names are looked up beside the document, then in the extra folders given;
// a picture found in none of them fails the rendering.
//
// Usage: make_docs <output.pdf> <document.md> <title> [picture folder ...]
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>
#include <QUrl>

#include <cstdio>

namespace {

// The width of the text on a page, in the document's layout units.
constexpr int kTextWidth = 450;

// A text document that finds the pictures of a Markdown file in a list of folders, so that
// screenshots made by the build can sit in the build tree rather than beside the sources.
class HelpDocument : public QTextDocument {
public:
    explicit HelpDocument(QStringList folders) : Folders(std::move(folders)) {}

protected:
    QVariant loadResource(int type, const QUrl& name) override {
        if (type == QTextDocument::ImageResource) {
            const QString file = name.isLocalFile() ? name.toLocalFile() : name.path();
            for (const QString& folder : Folders) {
                const QString path = QDir(folder).filePath(QFileInfo(file).fileName());
                QImage image;
                if (QFileInfo::exists(path) && image.load(path)) {
                    // Wide pictures keep their pixels but are laid out at the text's width.
                    if (image.width() > kTextWidth) {
                        image.setDevicePixelRatio(static_cast<double>(image.width()) / kTextWidth);
                    }
                    return image;
                }
            }
            std::fprintf(stderr, "make_docs: picture not found: %s\n", qPrintable(file));
            Missing << file;
        }
        return QTextDocument::loadResource(type, name);
    }

public:
    // The pictures the document names that none of the folders holds.
    QStringList Missing;

private:
    QStringList Folders;
};

bool render(const QString& output, const QString& source, const QString& title,
            const QStringList& pictureFolders) {
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "make_docs: cannot read %s\n", qPrintable(source));
        return false;
    }
    const QString markdown = QString::fromUtf8(file.readAll());

    QStringList folders{QFileInfo(source).absolutePath()};
    folders += pictureFolders;
    HelpDocument document(folders);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(10);
    document.setDefaultFont(font);
    document.setDefaultStyleSheet(QStringLiteral("table { border-collapse: collapse; }"));
    document.setMarkdown(markdown, QTextDocument::MarkdownDialectGitHub);
    document.setMetaInformation(QTextDocument::DocumentTitle, title);

    QDir().mkpath(QFileInfo(output).absolutePath());
    const QString partial = output + QStringLiteral(".part");
    {
        QPdfWriter writer(partial);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Ovik KRV Tessel"));
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter));
        writer.setResolution(300);
        // The document's own pagination prints the page numbers at the foot of each page.
        document.print(&writer);
    }
    // A document with a hole where a picture belongs is not written.
    document.Missing.removeDuplicates();
    if (!document.Missing.isEmpty()) {
        QFile::remove(partial);
        std::fprintf(stderr, "make_docs: %s names %lld missing picture(s)\n", qPrintable(source),
                     static_cast<long long>(document.Missing.size()));
        return false;
    }
    QFile::remove(output);
    if (!QFile::rename(partial, output)) {
        std::fprintf(stderr, "make_docs: cannot write %s\n", qPrintable(output));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QStringList args = application.arguments().mid(1);
    if (args.size() < 3) {
        std::fprintf(stderr,
                     "usage: make_docs <output.pdf> <document.md> <title> [picture folder ...]\n");
        return 2;
    }
    return render(args[0], args[1], args[2], args.mid(3)) ? 0 : 1;
}
