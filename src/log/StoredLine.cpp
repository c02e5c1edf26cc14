#include "log/StoredLine.h"

#include "log/LogRecordFormat.h"

#include <vector>

namespace {

constexpr char kTab = '\t';
constexpr std::string_view kLineEnd = "\r\n";

constexpr int kQ = -1; // stands for the quality value in a column list

struct ViewerTemplate {
    std::vector<int> columns; // each followed by a comma
    int last;                 // appended without a comma
};

const ViewerTemplate& ViewerColumns(int templateNumber)
{
    static const std::array<ViewerTemplate, 8> kTemplates = {{
        {{1, 4, 3, 5, 7, 13}, 37},
        {{1, 4, 3, 5, 7, 13, 15, kQ}, 37},
        {{1, 4, 3, 5, 6, 7, 13, 15, kQ}, 37},
        {{1, 4, 3, 5, 7, 13, 15, kQ, 36}, 38},
        {{1, 4, 3, 5, 6, 7, 13, 15, kQ, 36}, 38},
        {{1, 4, 3, 5, 7, 13, 15, kQ, 29, 30, 32, 33, 34}, 38},
        {{1, 4, 3, 5, 6, 7, 13, 15, kQ, 29, 30, 32, 33, 34}, 37},
        {{1, 4, 3, 5, 7, 13, 15, kQ, 29, 30, 32, 33, 34, 35, 36, 37, 38}, 39},
    }};
    return kTemplates.at(static_cast<size_t>(templateNumber - 1));
}

// Column 27 (RZ7 colour) when it holds a value, else the RZ4 colour column given.
std::string_view Quality(const StoredFields& f, int fallbackColumn)
{
    return f[27].empty() ? f[fallbackColumn] : f[27];
}

std::string_view ValueAt(const StoredFields& f, int column)
{
    return column == kQ ? Quality(f, 16) : f[static_cast<size_t>(column)];
}

void Put(std::string& out, std::string_view value)
{
    out.append(value);
    out += ',';
}

} // namespace

void SplitStoredLine(std::string_view line, StoredFields& fields)
{
    size_t start = 0;
    int n = 0;
    for (; n < kStoredColumns; ++n) {
        const size_t tab = line.find(kTab, start);
        if (tab == std::string_view::npos)
            break;
        fields[static_cast<size_t>(n)] = line.substr(start, tab - start);
        start = tab + 1;
    }
    for (; n < kStoredColumns; ++n)
        fields[static_cast<size_t>(n)] = {};
}

void AppendDisplayLine(std::string& out, const StoredFields& f, int templateNumber)
{
    if (templateNumber >= 1 && templateNumber <= 8) {
        const ViewerTemplate& t = ViewerColumns(templateNumber);
        for (int column : t.columns)
            Put(out, ValueAt(f, column));
        out.append(f[static_cast<size_t>(t.last)]);
    } else if (templateNumber == 9) {
        for (int column : {1, 4, 3, 5, 6, 7, 24, 13, 15, kQ, 29, 30, 32, 33, 34})
            Put(out, ValueAt(f, column));
        Put(out, f[35].size() == 4 ? f[35] : std::string_view());
        Put(out, f[36]);
        Put(out, f[37]);
        if (f[38].empty()) {
            out += ',';
        } else {
            out.append(f[38]);
            // Without this comma a grade and a comment would read as one value.
            if (!f[39].empty())
                out += ',';
        }
        out.append(f[39]);
    } else if (templateNumber == 10) {
        Put(out, f[1]);
        Put(out, Quality(f, 17));
        for (int column : {29, 33, 34})
            Put(out, f[static_cast<size_t>(column)]);
    }
    out.append(kLineEnd);
}

StoredLineKind KindOfStoredLine(std::string_view line)
{
    if (line.empty() || line.front() == '\r')
        return StoredLineKind::Empty;
    if (line.front() != kTab)
        return StoredLineKind::Message;
    // The grid's time cell is the first value up to its first comma, then up to a double space
    // (the display line puts that value first, followed by a comma).
    const size_t close = line.find(kTab, 1);
    if (close == std::string_view::npos)
        return StoredLineKind::Result;
    const std::string_view value = line.substr(1, close - 1);
    std::string_view timePart = value.substr(0, value.find(','));
    timePart = timePart.substr(0, timePart.find("  "));
    if (timePart == "Cancel")
        return StoredLineKind::Cancel;
    // A probing error is logged as TAB, its text, TAB: shown red across the row, as it was live.
    // A lone time in that form ("\t08:20:00  03-04-2024\t") stays a result.
    const bool lone = WithoutLineEndView(line.substr(close + 1)).empty();
    const bool time = value.size() >= 8 && value[2] == ':' && value[5] == ':';
    return lone && !value.empty() && !time ? StoredLineKind::Message : StoredLineKind::Result;
}

std::string_view MessageOfStoredLine(std::string_view line)
{
    if (!line.empty() && line.front() == kTab)
        return line.substr(1, line.find(kTab, 1) - 1);
    const size_t tab = line.find(kTab);
    return tab == std::string_view::npos ? WithoutLineEndView(line) : line.substr(0, tab);
}

std::string_view WithoutLineEndView(std::string_view text)
{
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n'))
        text.remove_suffix(1);
    return text;
}

std::string LogField(int n, const std::string& line)
{
    if (n < 0)
        return {};
    size_t start = 0;
    for (int i = 0; i < n; ++i) {
        const size_t tab = line.find(kTab, start);
        if (tab == std::string::npos)
            return {};
        start = tab + 1;
    }
    const size_t end = line.find(kTab, start);
    if (end == std::string::npos)
        return {};
    return line.substr(start, end - start);
}

std::string ReadDisplayLine(const std::string& line, int templateNumber)
{
    StoredFields fields;
    SplitStoredLine(line, fields);
    std::string out;
    AppendDisplayLine(out, fields, templateNumber);
    return out;
}
