#include "tools/manual/ManualText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

// Image paths in a chapter are relative to its file; the book is one text, so they become absolute.
QString AbsoluteImagePaths(const QString& line, const QDir& folder)
{
    static const QRegularExpression image(QStringLiteral(R"(!\[([^\]]*)\]\(([^)\s]+)\))"));
    QString out;
    qsizetype from = 0;
    for (auto it = image.globalMatch(line); it.hasNext();) {
        const auto match = it.next();
        QString path = match.captured(2);
        if (QFileInfo(path).isRelative() && !path.contains(QLatin1String("://")))
            path = folder.absoluteFilePath(path);
        out += line.mid(from, match.capturedStart() - from);
        out += QStringLiteral("![%1](%2)").arg(match.captured(1), path);
        from = match.capturedEnd();
    }
    return out + line.mid(from);
}

} // namespace

ManualText ComposeManual(const QStringList& chapterFiles)
{
    ManualText manual;
    QString chapters;
    int chapter = 0;
    int section = 0;
    for (const QString& path : chapterFiles) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
            manual.error = QStringLiteral("%1: %2").arg(path, file.errorString());
            return manual;
        }
        const QDir folder = QFileInfo(path).absoluteDir();
        bool inFence = false;
        for (QString line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
            if (line.startsWith(QLatin1String("```")) || line.startsWith(QLatin1String("~~~")))
                inFence = !inFence;
            if (!inFence && line.startsWith(QLatin1String("# "))) {
                section = 0;
                const QString text = QStringLiteral("%1 %2").arg(++chapter).arg(line.mid(2).trimmed());
                manual.headings.push_back({1, text});
                line = QStringLiteral("# ") + text;
            } else if (!inFence && line.startsWith(QLatin1String("## "))) {
                const QString text = QStringLiteral("%1.%2 %3").arg(chapter).arg(++section).arg(line.mid(3).trimmed());
                manual.headings.push_back({2, text});
                line = QStringLiteral("## ") + text;
            } else if (!inFence) {
                line = AbsoluteImagePaths(line, folder);
            }
            chapters += line + QLatin1Char('\n');
        }
        chapters += QLatin1Char('\n');
    }

    QString markdown = QStringLiteral("| Contents | Page |\n|:---|---:|\n");
    for (const ManualHeading& heading : manual.headings) {
        QString cell = heading.text;
        cell.replace(QLatin1Char('|'), QLatin1String("\\|"));
        if (heading.level == 1)
            cell = QStringLiteral("**") + cell + QStringLiteral("**");
        markdown += QStringLiteral("| %1 | %2 |\n").arg(cell, QLatin1String(kPagePlaceholder));
    }
    manual.markdown = markdown + QLatin1Char('\n') + chapters;
    return manual;
}
