#pragma once
// Whole files as bytes, for the log tests that compare a log with what it must hold.

#include <fstream>
#include <sstream>
#include <string>

namespace logtest {

inline std::string FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

} // namespace logtest
