#include "settings/HandWrittenValues.h"

#include <QRegularExpression>

bool IsPathKey(const QString& key)
{
    static const QRegularExpression pathKey(QStringLiteral("^(LogFilePath|TxtFilePath|PortDevice[0-9]+)$"),
                                            QRegularExpression::CaseInsensitiveOption);
    return pathKey.match(key).hasMatch();
}

QList<QByteArray> SettingsLines(const QByteArray& iniText)
{
    // The settings library ends a line at CR LF, LF or CR alone (an old editor's file).
    return QByteArray(iniText).replace("\r\n", "\n").replace('\r', '\n').split('\n');
}

std::vector<HandWrittenValue> HandWrittenPathValues(const QByteArray& iniText)
{
    std::vector<HandWrittenValue> found;
    QString section;
    for (const QByteArray& rawLine : SettingsLines(iniText)) {
        const QByteArray line = rawLine.trimmed();
        if (line.startsWith('[') && line.endsWith(']')) {
            section = QString::fromUtf8(line.mid(1, line.size() - 2));
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (equals <= 0 || line.startsWith(';') || line.startsWith('#'))
            continue;
        const QString key = QString::fromUtf8(line.left(equals).trimmed());
        const QByteArray value = line.mid(equals + 1).trimmed();
        if (!IsPathKey(key) || value.startsWith('"') || (!value.contains(';') && !value.contains(',')))
            continue;
        found.push_back({section, key, QString::fromUtf8(value)});
    }
    return found;
}
