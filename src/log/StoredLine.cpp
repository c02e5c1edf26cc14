#include "log/StoredLine.h"

#include "log/LogLineScan.h"
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

namespace C = LogColumn;

// Templates 1 to 8: the columns of each, in display order. A short result line has its comment
// where a long one has its tender, so the last column differs between templates.
const ViewerTemplate& ViewerColumns(int templateNumber)
{
    static const std::array<ViewerTemplate, 8> kTemplates = {{
        {{C::TimeDate, C::CarcassCount, C::CarcassType, C::Fat1, C::Meat, C::MeatPercent}, C::Rz7Tender},
        {{C::TimeDate, C::CarcassCount, C::CarcassType, C::Fat1, C::Meat, C::MeatPercent, C::Class, kQ}, C::Rz7Tender},
        {{C::TimeDate, C::CarcassCount, C::CarcassType, C::Fat1, C::Fat2, C::Meat, C::MeatPercent, C::Class, kQ},
         C::Rz7Tender},
        {{C::TimeDate, C::CarcassCount, C::CarcassType, C::Fat1, C::Meat, C::MeatPercent, C::Class, kQ, C::Weight},
         C::Rz7TenderGrade},
        {{C::TimeDate, C::CarcassCount, C::CarcassType, C::Fat1, C::Fat2, C::Meat, C::MeatPercent, C::Class, kQ,
          C::Weight},
         C::Rz7TenderGrade},
        {{C::TimeDate, C::CarcassCount, C::CarcassType, C::Fat1, C::Meat, C::MeatPercent, C::Class, kQ,
          C::Rz7ColourGrade, C::Rz7Marble1, C::Rz7MarbleGrade, C::Rz7PseNumber, C::Rz7PseIndicator},
         C::Rz7TenderGrade},
        {{C::TimeDate, C::CarcassCount, C::CarcassType, C::Fat1, C::Fat2, C::Meat, C::MeatPercent, C::Class, kQ,
          C::Rz7ColourGrade, C::Rz7Marble1, C::Rz7MarbleGrade, C::Rz7PseNumber, C::Rz7PseIndicator},
         C::Rz7Tender},
        {{C::TimeDate, C::CarcassCount, C::CarcassType, C::Fat1, C::Meat, C::MeatPercent, C::Class, kQ,
          C::Rz7ColourGrade, C::Rz7Marble1, C::Rz7MarbleGrade, C::Rz7PseNumber, C::Rz7PseIndicator, C::Rz7SerialNumber,
          C::Weight, C::Rz7Tender, C::Rz7TenderGrade},
         C::Comment},
    }};
    return kTemplates.at(static_cast<size_t>(templateNumber - 1));
}

// The RZ7 colour when it holds a value, else the RZ4 colour column given.
std::string_view Quality(const StoredFields& f, int fallbackColumn)
{
    return f[C::Rz7Colour1].empty() ? f[fallbackColumn] : f[C::Rz7Colour1];
}

std::string_view ValueAt(const StoredFields& f, int column)
{
    return column == kQ ? Quality(f, C::Colour1) : f[static_cast<size_t>(column)];
}

void Put(std::string& out, std::string_view value)
{
    out.append(value);
    out += ',';
}

} // namespace

void SplitStoredLine(std::string_view line, StoredFields& fields)
{
    static const LogLineScan kWhole = LogLineScan::Whole();
    LogLineScan scan = kWhole;
    scan.Scan(line);
    for (int column = 0; column < LogColumn::Count; ++column)
        fields[static_cast<size_t>(column)] = scan.Value(column);
}

void AppendDisplayLine(std::string& out, const StoredFields& f, int templateNumber)
{
    if (templateNumber >= 1 && templateNumber <= 8) {
        const ViewerTemplate& t = ViewerColumns(templateNumber);
        for (int column : t.columns)
            Put(out, ValueAt(f, column));
        out.append(f[static_cast<size_t>(t.last)]);
    } else if (templateNumber == 9) {
        for (int column :
             {C::TimeDate, C::CarcassCount, C::CarcassType, C::Fat1, C::Fat2, C::Meat, C::Meat1, C::MeatPercent,
              C::Class, kQ, C::Rz7ColourGrade, C::Rz7Marble1, C::Rz7MarbleGrade, C::Rz7PseNumber, C::Rz7PseIndicator})
            Put(out, ValueAt(f, column));
        Put(out, f[C::Rz7SerialNumber].size() == 4 ? f[C::Rz7SerialNumber] : std::string_view());
        Put(out, f[C::Weight]);
        Put(out, f[C::Rz7Tender]);
        if (f[C::Rz7TenderGrade].empty()) {
            out += ',';
        } else {
            out.append(f[C::Rz7TenderGrade]);
            // Without this comma a grade and a comment would read as one value.
            if (!f[C::Comment].empty())
                out += ',';
        }
        out.append(f[C::Comment]);
    } else if (templateNumber == 10) {
        Put(out, f[C::TimeDate]);
        Put(out, Quality(f, C::Colour2));
        for (int column : {C::Rz7ColourGrade, C::Rz7PseNumber, C::Rz7PseIndicator})
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
