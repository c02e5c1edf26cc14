#include "station/LogTail.h"

#include <QFile>

LogTail LogTail::Read(const std::string& path, long long from)
{
    LogTail tail;
    if (path.empty())
        return tail;
    QFile file(QFile::decodeName(QByteArray::fromStdString(path)));
    if (!file.open(QIODevice::ReadOnly) || file.size() < from || !file.seek(from))
        return tail;
    const QByteArray bytes = file.readAll();
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        qsizetype stop = end;
        while (stop > start && (bytes[stop - 1] == '\r' || bytes[stop - 1] == '\n'))
            --stop;
        if (stop > start)
            ++tail.lines_[bytes.mid(start, stop - start).toStdString()];
        start = end + 1;
    }
    return tail;
}

bool LogTail::Contains(const std::string& line) const
{
    return lines_.find(line) != lines_.end();
}

bool LogTail::Take(const std::string& line)
{
    const auto found = lines_.find(line);
    if (found == lines_.end())
        return false;
    if (--found->second == 0)
        lines_.erase(found);
    return true;
}
