// tallion-manual-pdf: builds the user manual, Manual.pdf, from its Markdown chapters.
//
//   tallion-manual-pdf OUTPUT.pdf VERSION CHAPTER.md...
//
// Needs no display (QT_QPA_PLATFORM=offscreen), only the fonts of the machine.

#include "tools/manual/ManualBook.h"
#include "tools/manual/ManualText.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 4) {
        std::fputs("Usage: tallion-manual-pdf OUTPUT.pdf VERSION CHAPTER.md...\n", stderr);
        return 2;
    }
    const QString title = QStringLiteral("Tallion Classification Station");
    const ManualText manual = ComposeManual(arguments.mid(3));
    QString error = manual.error;
    if (error.isEmpty())
        error = WriteManualPdf(manual, title, QStringLiteral("Version ") + arguments[2], arguments[1]);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "tallion-manual-pdf: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
