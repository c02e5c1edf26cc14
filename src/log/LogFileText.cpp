#include "log/LogFileText.h"

#include "log/LogFileChunks.h"

std::optional<QByteArray> ReadLogFile(const std::string& path, QString* error)
{
    QByteArray bytes;
    std::string why;
    const bool read = ReadLogLines(
        path, [&bytes](std::string_view lines) { bytes.append(lines.data(), static_cast<qsizetype>(lines.size())); },
        &why);
    if (!read) {
        if (error)
            *error = QString::fromLocal8Bit(why.data(), static_cast<qsizetype>(why.size()));
        return std::nullopt;
    }
    return bytes;
}
