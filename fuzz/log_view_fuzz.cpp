// Loads arbitrary log text into the views without a display, as opening, viewing or reloading a
// log does: the terminal pane's text and the result grid's rows, then finds text in the pane and
// puts a saved pane back.
//
// Input: five option bytes, then the log text (header line first).
//   byte 0: template (0 to 11); byte 1: bit 0 shows message lines, bit 1 shows results in blue;
//   byte 2: a small pane cap (1 + 16 per step); byte 3: grid columns (0 to 20);
//   byte 4: where in the pane the text to find is taken from, and its length (1 to 4)
//
// Checks: the pane never holds more than its cap, and a capped pane is the end of the uncapped
// one; its colour runs alternate and red shows only with message lines; the grid has one row per
// record line, each row's cells, read from the compact rows, are those of its line, also after
// the grid narrows and after a row is removed; a find returns a match in its direction, ignoring
// case never finds a farther one; a restored pane is the saved text in alternating colours.

#include "FuzzInput.h"

#include "log/LogFileText.h"
#include "log/PaneText.h"
#include "log/ResultGridCells.h"
#include "log/TextFind.h"
#include "logviews/ResultGridModel.h"

#include <QByteArray>
#include <QStringList>
#include <vector>

using fuzz::Check;

namespace {

std::string Joined(const std::vector<PaneRun>& runs)
{
    std::string text;
    for (const PaneRun& run : runs)
        text += run.text;
    return text;
}

void CheckRuns(const std::vector<PaneRun>& runs)
{
    for (std::size_t i = 0; i < runs.size(); ++i) {
        Check(!runs[i].text.empty(), "no empty colour run", runs[i].text);
        Check(i == 0 || runs[i].colour != runs[i - 1].colour, "colour runs alternate", runs[i].text);
    }
}

void CheckPane(std::string_view log, const PaneTextOptions& options, std::size_t smallCap)
{
    PaneTextOptions whole = options;
    whole.cap = log.size() * 4 + 64; // more than any display line of the log can take
    const PaneText all = LogPaneText(log, whole);
    CheckRuns(all.runs);
    Check(all.linesLeftOut == 0, "an ample pane leaves nothing out");
    for (const PaneRun& run : all.runs) {
        Check(run.colour != PaneColour::Red || options.showMessages, "red shows only with message lines", run.text);
        Check(run.colour != PaneColour::Blue || options.resultColour == PaneColour::Blue, "blue only while viewing",
              run.text);
    }

    PaneTextOptions small = options;
    small.cap = smallCap;
    const PaneText capped = LogPaneText(log, small);
    CheckRuns(capped.runs);
    const std::string allText = Joined(all.runs);
    const std::string cappedText = Joined(capped.runs);
    Check(cappedText.size() <= smallCap, "the pane holds no more than its cap", cappedText);
    Check(allText.ends_with(cappedText), "a capped pane is the end of the whole one", cappedText);
    Check(capped.linesLeftOut > 0 || cappedText == allText || cappedText.size() == smallCap,
          "only lines left out, or the end of the one newest line, are missing", cappedText);
}

std::vector<std::string_view> RecordLines(std::string_view log)
{
    std::vector<std::string_view> lines;
    ForEachRecordLine(log, [&lines](size_t, std::string_view line) { lines.push_back(line); });
    return lines;
}

QStringList Titles(int columns)
{
    QStringList titles;
    for (int i = 0; i < columns; ++i)
        titles << QStringLiteral("c%1").arg(i);
    return titles;
}

void CheckGrid(std::string_view log, int templateNumber, int columns)
{
    const std::vector<std::string_view> lines = RecordLines(log);
    ResultGridModel grid;
    grid.SetColumnTitles(Titles(columns));
    grid.ReplaceWithLog(QByteArray(log.data(), static_cast<qsizetype>(log.size())), templateNumber);
    Check(grid.Rows() == static_cast<int>(lines.size()) + 1, "one grid row per record line");

    auto checkRows = [&](int gridColumns, std::size_t firstLine) {
        for (int row = 1; row < grid.Rows(); ++row) {
            const std::string_view line = lines[firstLine + static_cast<std::size_t>(row) - 1];
            bool red = false;
            const QStringList expected = ResultGridModel::CellsOfStoredLine(line, templateNumber, gridColumns, &red);
            Check(grid.RowCells(row) == expected, "a loaded row shows its line's cells", std::string(line));
            Check(grid.CellRed(row, 0) == red, "a loaded row is marked as its line", std::string(line));
            const std::optional<std::string_view> loaded = grid.LoadedLine(row);
            Check(loaded && *loaded == line, "a loaded row knows its line", std::string(line));
        }
    };
    checkRows(columns, 0);
    if (columns > 3) {
        grid.SetColumnTitles(Titles(3));
        checkRows(3, 0);
    }
    if (grid.Rows() > 1) {
        grid.RemoveResultRow(1);
        checkRows(columns > 3 ? 3 : columns, 1);
    }

    // A live row after the loaded ones: a display line, or a message.
    const std::string shown = lines.empty() ? std::string("Cancel      000042\r") : std::string(lines.back());
    const int row = grid.AppendShownText(shown);
    QStringList expected(std::max(grid.Columns(), 0));
    unsigned red = 0;
    CellsOfShownText(shown, expected, red);
    Check(grid.RowCells(row) == expected, "a live row shows its text's cells", shown);
}

void CheckFind(const std::string& pane, std::size_t from, std::size_t length)
{
    if (pane.empty())
        return;
    const std::string needle = pane.substr(from % pane.size(), length);
    for (const FindDirection direction : {FindDirection::Down, FindDirection::Up}) {
        for (const long caret : {0L, static_cast<long>(pane.size() / 2), static_cast<long>(pane.size())}) {
            long found[2] = {-1, -1};
            for (const bool matchCase : {true, false}) {
                FindState state;
                state.findText = needle;
                state.findMatchCase = matchCase;
                state.findDirection = direction;
                state.findLastPos = -1;
                const long at = FindInText(pane, caret, state);
                found[matchCase ? 0 : 1] = at;
                if (at < 0)
                    continue;
                Check(static_cast<std::size_t>(at) + needle.size() <= pane.size(), "a match lies in the text", needle);
                for (std::size_t i = 0; i < needle.size(); ++i) {
                    const char a = pane[static_cast<std::size_t>(at) + i];
                    Check(matchCase ? a == needle[i] : UpperLatin1(a) == UpperLatin1(needle[i]), "a match matches",
                          needle);
                }
                Check(direction == FindDirection::Down ? at >= caret : at <= caret - 2,
                      "a match lies in the search's direction", needle);
            }
            if (found[0] >= 0)
                Check(found[1] >= 0 && (direction == FindDirection::Down ? found[1] <= found[0] : found[1] >= found[0]),
                      "ignoring case never finds a farther match", needle);
        }
    }
}

void CheckRestore(const std::string& saved)
{
    const std::vector<PaneRun> runs = RestoredPaneRuns(saved);
    CheckRuns(runs);
    Check(Joined(runs) == saved, "a restored pane is the saved text", saved);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 5)
        return 0;
    const int templateNumber = data[0] % 12;
    PaneTextOptions options;
    options.templateNumber = templateNumber;
    options.showMessages = (data[1] & 1u) != 0;
    options.resultColour = (data[1] & 2u) ? PaneColour::Blue : PaneColour::Black;
    const std::size_t smallCap = 1 + 16 * static_cast<std::size_t>(data[2]);
    const int columns = data[3] % 21;
    const std::string log(reinterpret_cast<const char*>(data) + 5, size - 5);

    CheckPane(log, options, smallCap);
    // The grid is laid out for templates 1 to 10 only (the stored template is checked when read).
    if (templateNumber >= 1 && templateNumber <= 10)
        CheckGrid(log, templateNumber, columns);
    const std::string pane = Joined(LogPaneText(log, options).runs);
    CheckFind(pane, static_cast<std::size_t>(data[4]) * 7, 1 + data[4] % 4);
    CheckRestore(pane);
    CheckRestore(log);
    return 0;
}
