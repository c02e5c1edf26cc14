#pragma once
// The lines a log file gained after a known size: after a station was killed, the records that a
// replay of its journal makes again may already be there. Each line found is taken once, so two
// equal records are told apart by their number.

#include <string>
#include <unordered_map>

class LogTail {
public:
    LogTail() = default;
    // The lines of `path` from byte `from` on; none when the file is shorter than that (it was
    // replaced or cut: nothing after the state can be told apart any more) or cannot be read.
    static LogTail Read(const std::string& path, long long from);

    // `line` without its line end.
    bool Contains(const std::string& line) const;
    bool Take(const std::string& line);
    bool Empty() const { return lines_.empty(); }

private:
    std::unordered_map<std::string, int> lines_;
};
