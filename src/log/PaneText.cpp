#include "log/PaneText.h"

#include "log/LogFileText.h"
#include "log/StoredLine.h"

#include <algorithm>
#include <cstring>

namespace {

struct LineText {
    std::string text;
    PaneColour colour;
    bool keepsColour; // an empty line takes the colour of the text before it
};

// The pane text of one record line; false when the line shows nothing.
bool TextOfLine(std::string_view line, const PaneTextOptions& options, LineText& out)
{
    out.text.clear();
    out.keepsColour = false;
    switch (KindOfStoredLine(line)) {
    case StoredLineKind::Empty:
        out.text = "\r\n";
        out.keepsColour = true;
        return true;
    case StoredLineKind::Result:
    case StoredLineKind::Cancel: {
        StoredFields fields;
        SplitStoredLine(line, fields);
        AppendDisplayLine(out.text, fields, options.templateNumber);
        out.colour = options.resultColour;
        return true;
    }
    case StoredLineKind::Message:
        if (!options.showMessages)
            return false;
        out.text.append(MessageOfStoredLine(line));
        out.text += "\r\n";
        out.colour = PaneColour::Red;
        return true;
    }
    return false;
}

void Add(std::vector<PaneRun>& runs, PaneColour& current, const LineText& line)
{
    const PaneColour colour = line.keepsColour ? current : line.colour;
    if (runs.empty() || runs.back().colour != colour)
        runs.push_back({std::string(), colour});
    runs.back().text += line.text;
    current = colour;
}

} // namespace

PaneText LogPaneText(std::string_view logText, const PaneTextOptions& options)
{
    PaneText result;
    const size_t first = FirstRecordLine(logText);
    std::vector<LineText> newestFirst;
    size_t used = 0;
    size_t end = logText.size();
    LineText line;
    // Walk the lines from the end of the text backwards.
    while (end > first) {
        size_t start = first;
        if (end - 1 > first) {
            const std::string_view before = logText.substr(first, end - 1 - first);
            const size_t lineFeed = before.rfind('\n');
            if (lineFeed != std::string_view::npos)
                start = first + lineFeed + 1;
        }
        if (TextOfLine(logText.substr(start, end - start), options, line)) {
            if (used + line.text.size() > options.cap) {
                if (!newestFirst.empty()) {
                    ++result.linesLeftOut;
                    // Count the rest without building their text.
                    const std::string_view older = logText.substr(first, start - first);
                    result.linesLeftOut += static_cast<size_t>(std::count(older.begin(), older.end(), '\n'));
                    break;
                }
                line.text.erase(0, line.text.size() - options.cap);
            }
            used += line.text.size();
            newestFirst.push_back(line);
        }
        end = start;
    }

    PaneColour current = PaneColour::Black;
    for (auto it = newestFirst.rbegin(); it != newestFirst.rend(); ++it)
        Add(result.runs, current, *it);
    return result;
}

std::vector<PaneRun> RestoredPaneRuns(std::string_view savedText)
{
    std::vector<PaneRun> runs;
    size_t position = 0;
    while (position < savedText.size()) {
        const size_t lineFeed = savedText.find('\n', position);
        const size_t end = lineFeed == std::string_view::npos ? savedText.size() : lineFeed + 1;
        const char c = savedText[position];
        const PaneColour colour = c >= '0' && c <= '9' ? PaneColour::Black : PaneColour::Red;
        if (runs.empty() || runs.back().colour != colour)
            runs.push_back({std::string(), colour});
        runs.back().text.append(savedText.substr(position, end - position));
        position = end;
    }
    return runs;
}
