#include "settings/SettingsFileCheck.h"

#include "settings/HandWrittenValues.h"
#include "settings/SettingsFileBytes.h"

#include <QFileInfo>
#include <QSettings>

namespace {

bool IsControlByte(unsigned char c)
{
    return (c < 32 && c != '\t' && c != '\r' && c != '\n') || c == 127;
}

// A line of an INI file: a [section], a key=value pair, a ; or # comment, or nothing.
bool IsIniLine(QByteArray line)
{
    line = line.trimmed();
    if (line.isEmpty() || line.startsWith(';') || line.startsWith('#'))
        return true;
    if (line.startsWith('['))
        return line.endsWith(']') && line.size() > 2;
    const qsizetype equals = line.indexOf('=');
    return equals > 0 && !line.left(equals).trimmed().isEmpty();
}

QString Shown(const QByteArray& line)
{
    QByteArray cut = line.trimmed().left(40);
    return QString::fromLatin1(cut);
}

} // namespace

std::optional<QString> SettingsFileProblem(const QString& path)
{
    const SettingsFileBytes file = ReadSettingsFile(path);
    if (!file.exists) {
        const QFileInfo info(path);
        if (!QFileInfo(info.absolutePath()).isDir())
            return QStringLiteral("the folder %1 does not exist").arg(info.absolutePath());
        return std::nullopt;
    }
    if (!file.problem.isEmpty())
        return file.problem;
    const QByteArray& bytes = file.bytes;

    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (IsControlByte(static_cast<unsigned char>(bytes[i])))
            return QStringLiteral("%1 is not a settings file: it holds a control byte (code %2) at byte %3")
                .arg(path)
                .arg(static_cast<unsigned char>(bytes[i]))
                .arg(i + 1);
    }
    const QList<QByteArray> lines = SettingsLines(bytes);
    bool hashComments = false;
    for (qsizetype n = 0; n < lines.size(); ++n) {
        hashComments = hashComments || lines[n].trimmed().startsWith('#');
        if (!IsIniLine(lines[n]))
            return QStringLiteral("%1 is not a settings file: line %2 is neither a [section], a key=value "
                                  "line nor a comment: \"%3\"")
                .arg(path)
                .arg(n + 1)
                .arg(Shown(lines[n]));
    }

    QSettings settings(path, QSettings::IniFormat);
    settings.childGroups();
    // The settings library takes only ";" for comments and calls a "#" line (or a byte-order mark
    // before "[") a format error, though it reads every key around it; such a file passed the
    // line check above.
    if (settings.status() == QSettings::FormatError && !hashComments && !file.byteOrderMark)
        return QStringLiteral("%1 is not a settings file the station can read").arg(path);
    if (settings.status() == QSettings::AccessError)
        return QStringLiteral("%1 cannot be read").arg(path);
    return std::nullopt;
}
