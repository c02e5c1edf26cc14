#pragma once
// A log file read whole into memory, and walking its record lines (every line after the header
// line). Reading never changes the file.

#include <QByteArray>
#include <QString>

#include <cstring>
#include <optional>
#include <string>
#include <string_view>

// The file's bytes, read as ReadLogLines reads them (a regular file only, over-long lines cut);
// nullopt with `error` set (the platform's text) when it cannot be read.
std::optional<QByteArray> ReadLogFile(const std::string& path, QString* error);

inline std::string_view BytesView(const QByteArray& bytes)
{
    return {bytes.constData(), static_cast<size_t>(bytes.size())};
}

// Where the record lines begin: just after the first LF (the end when there is none).
inline size_t FirstRecordLine(std::string_view text)
{
    const size_t lineFeed = text.find('\n');
    return lineFeed == std::string_view::npos ? text.size() : lineFeed + 1;
}

// Calls `fn(offset, line)` for every record line, its LF included; a last line without LF is
// read like the others. Lines are numbered by their order, so callers count them themselves.
template <class LineFn>
void ForEachRecordLine(std::string_view text, LineFn&& fn)
{
    size_t position = FirstRecordLine(text);
    const char* data = text.data();
    while (position < text.size()) {
        const void* found = std::memchr(data + position, '\n', text.size() - position);
        const size_t end = found ? static_cast<size_t>(static_cast<const char*>(found) - data) + 1 : text.size();
        fn(position, text.substr(position, end - position));
        position = end;
    }
}
