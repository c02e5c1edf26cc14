#include "log/LogRecordFormat.h"

#include "log/LogColumns.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"

#include <vector>

namespace {

constexpr char kTab = '\t';
constexpr const char* kLineEnd = "\r\n";

// A TAB, CR or LF inside a value would shift every later column or split the record when the
// file is read back, so such a character is stored as a space. Nothing else is touched.
std::string StoredValue(const std::string& value)
{
    std::string out = value;
    for (char& c : out) {
        if (c == '\t' || c == '\r' || c == '\n')
            c = ' ';
    }
    return out;
}

std::string JoinTabbed(const std::vector<std::string>& values)
{
    std::string line;
    for (const std::string& value : values) {
        line += StoredValue(value);
        line += kTab;
    }
    line += kLineEnd;
    return line;
}

std::string KindText(char kind)
{
    switch (kind) {
    case 'E': return ResourceString(StringId::SingleSite);
    case 'J': return ResourceString(StringId::SingleSiteColour);
    case 'B': return ResourceString(StringId::DoubleSite);
    case 'H': return ResourceString(StringId::DoubleSiteColour);
    case 'L': return "Single Site, RZ7";
    case 'M': return "Double Site, RZ7";
    case 'S': return "Colour Number";
    default: return {};
    }
}

// Columns 0 to 36, shared by the result and the long result line.
std::vector<std::string> CommonColumns(const CarcassMeasurement& r)
{
    return {
        std::string(),  r.timeDate,       KindText(r.kind), r.carcassType,      r.carcassCount,     r.fat1,
        r.fat2,         r.meat,           r.intrafat,       r.thickness1,       r.distance1,        r.thickness2,
        r.distance2,    r.meatPercent,    r.indicator,      r.carcassClass,     r.colour1,          r.colour2,
        r.colourNumber, r.minColour1,     r.minColour2,     r.colourVariation1, r.colourVariation2, r.pse,
        r.meat1,        r.meat1Indicator, r.intrafat1,      r.rz7Colour1,       r.rz7Colour2,       r.rz7ColourGrade,
        r.rz7Marble1,   r.rz7Marble2,     r.rz7MarbleGrade, r.rz7PseNumber,     r.rz7PseIndicator,  r.serialNumber,
        r.weight,
    };
}

const std::string& Quality(const CarcassMeasurement& r)
{
    return r.rz7Colour1.empty() ? r.colour1 : r.rz7Colour1;
}

// Builds a display line value by value, each followed by a comma.
class DisplayLine {
public:
    DisplayLine& operator<<(const std::string& value)
    {
        text_ += value;
        text_ += ',';
        return *this;
    }
    void Tender(const CarcassMeasurement& r)
    {
        if (r.rz7Tender.empty())
            text_ += ",'";
        else
            *this << r.rz7Tender;
        if (!r.rz7TenderGrade.empty())
            *this << r.rz7TenderGrade;
    }
    void Raw(const std::string& text) { text_ += text; }
    std::string Take() { return std::move(text_); }

private:
    std::string text_;
};

// Templates 2 and 4 start alike (template 1 plus class and quality); so do 3 and 5.
void SingleFatStart(DisplayLine& line, const CarcassMeasurement& r)
{
    line << r.timeDate << r.carcassCount << r.carcassType << r.fat1 << r.meat << r.meatPercent;
}

void TwoFatStart(DisplayLine& line, const CarcassMeasurement& r)
{
    line << r.timeDate << r.carcassCount << r.carcassType << r.fat1 << r.fat2 << r.meat << r.meatPercent
         << r.carcassClass << Quality(r);
}

void Rz7Quality(DisplayLine& line, const CarcassMeasurement& r)
{
    line << r.rz7ColourGrade << r.rz7Marble1 << r.rz7MarbleGrade << r.rz7PseNumber << r.rz7PseIndicator;
}

std::string SerialIfComplete(const std::string& serial)
{
    return serial.size() == 4 ? serial : std::string();
}

} // namespace

std::string LogHeaderLine()
{
    return JoinTabbed(LogColumnTitles());
}

std::string LogLineFor(const CarcassMeasurement& record)
{
    if (!record.alertText.empty())
        return JoinTabbed({std::string(), record.alertText});

    switch (record.kind) {
    case 'E':
    case 'J':
    case 'B':
    case 'H': {
        std::vector<std::string> values = CommonColumns(record);
        values.push_back(record.comment);
        return JoinTabbed(values);
    }
    case 'L':
    case 'M':
    case 'S': {
        std::vector<std::string> values = CommonColumns(record);
        values.push_back(record.rz7Tender);
        values.push_back(record.rz7TenderGrade);
        values.push_back(record.comment);
        return JoinTabbed(values);
    }
    case 'Z': return JoinTabbed({std::string(), record.timeDate});
    case 'C': return JoinTabbed({ResourceString(StringId::Cancel), std::string()});
    default: return {};
    }
}

std::string FormatResultLine(const CarcassMeasurement& r, int templateNumber)
{
    DisplayLine line;
    switch (templateNumber) {
    case 1: SingleFatStart(line, r); break;
    case 2:
        SingleFatStart(line, r);
        line << r.carcassClass << Quality(r);
        break;
    case 3: TwoFatStart(line, r); break;
    case 4:
        SingleFatStart(line, r);
        line << r.carcassClass << Quality(r) << r.weight;
        break;
    case 5:
        TwoFatStart(line, r);
        line << r.weight;
        break;
    case 6:
        SingleFatStart(line, r);
        line << r.carcassClass << Quality(r);
        Rz7Quality(line, r);
        break;
    case 7:
        TwoFatStart(line, r);
        Rz7Quality(line, r);
        break;
    case 8:
        SingleFatStart(line, r);
        line << r.carcassClass << Quality(r);
        Rz7Quality(line, r);
        line << r.serialNumber << r.weight;
        line.Tender(r);
        break;
    case 9:
        line << r.timeDate << r.carcassCount << r.carcassType << r.fat1 << r.fat2 << r.meat << r.meat1 << r.meatPercent
             << r.carcassClass << Quality(r);
        Rz7Quality(line, r);
        line << SerialIfComplete(r.serialNumber) << r.weight;
        line.Tender(r);
        break;
    case 10: line << r.timeDate << r.rz7Colour1 << r.rz7ColourGrade; return line.Take();
    default: return {};
    }
    line.Raw(r.comment);
    return line.Take();
}

std::string ShortenLogPath(const std::string& path)
{
    if (path.size() < 33)
        return path;
    const size_t first = path.find_first_of("/\\");
    const size_t last = path.find_last_of("/\\");
    // With fewer than two separators there is no folder part to leave out.
    if (first == std::string::npos || first == last)
        return path;
    return path.substr(0, first + 1) + "..." + path.substr(last);
}
