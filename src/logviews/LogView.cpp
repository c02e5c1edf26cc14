#include "logviews/LogView.h"

#include "log/LogFileText.h"
#include "log/LogRecordFormat.h"
#include "logviews/ResultGridModel.h"
#include "logviews/TerminalPane.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"
#include "widgets/Twips.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QTableView>
#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

namespace {

QString Latin1(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string TrimSpaces(const std::string& text)
{
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    const size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

} // namespace

std::string TemplateTitleString(int templateNumber)
{
    switch (templateNumber) {
    case 1: return ResourceString(StringId::Template1Heading);
    case 2: return ResourceString(StringId::Template2Heading);
    case 3: return ResourceString(StringId::Template3Heading);
    case 4: return ResourceString(StringId::Template4Heading);
    case 5: return ResourceString(StringId::Template5Heading);
    case 6: return ResourceString(StringId::Template6Heading);
    case 7: return ResourceString(StringId::Template7Heading);
    case 8: return ResourceString(StringId::Template8Heading);
    case 9: return ResourceString(StringId::Template9Heading);
    case 10: return "Time,Date,Colour,n/g";
    default: return {};
    }
}

std::string ApplyTemplate(ResultViews& views, int templateNumber)
{
    const std::string titleString = TemplateTitleString(templateNumber);
    const std::vector<std::string> titles =
        titleString.empty() ? std::vector<std::string>{} : SplitResultText(titleString, ",");

    QStringList columnTitles;
    std::string printHeaderLine;
    for (const std::string& title : titles) {
        const std::string trimmed = TrimSpaces(title);
        columnTitles.append(Latin1(trimmed));
        printHeaderLine += trimmed + "   ";
    }
    if (views.grid)
        views.grid->SetColumnTitles(columnTitles);

    if (views.gridView) {
        // The header row carries the titles; a row-number column is not part of the grid (and
        // re-measuring one for every appended row would slow the live results).
        views.gridView->verticalHeader()->hide();
        // Widths are laid out in twips against the grid's own width, so they scale with it.
        const double gridTwips = PixelsToTwipsX(*views.gridView, views.gridView->width());
        const QFontMetrics metrics(views.gridView->font());
        for (size_t i = 0; i < titles.size(); ++i) {
            const double twips =
                i < 2 ? gridTwips / 10.0 : static_cast<double>(titles[i].size()) / 100.0 * gridTwips + 144.0;
            // Never narrower than what the column shows, so a value is read whole at a glance:
            // a time, a date, or a depth with its indicator.
            const char* widest = i == 0 ? "00:00:00" : i == 1 ? "00-00-0000" : "000.0 W";
            const int fit = std::max(metrics.horizontalAdvance(QLatin1String(widest)),
                                     metrics.horizontalAdvance(columnTitles[static_cast<int>(i)]))
                            + 2 * metrics.averageCharWidth();
            views.gridView->setColumnWidth(static_cast<int>(i),
                                           std::max(fit, TwipsToPixelsX(*views.gridView, std::round(twips))));
        }
        views.gridView->horizontalHeader()->setStretchLastSection(true);
        SpanMessageRows(views);
    }
    return printHeaderLine;
}

void ShowPaneRuns(TerminalPane& pane, const std::vector<PaneRun>& runs)
{
    std::vector<TerminalPane::Run> coloured;
    coloured.reserve(runs.size());
    for (const PaneRun& run : runs)
        coloured.push_back({Latin1(run.text), QtColour(run.colour)});
    pane.SetContent(coloured);
    pane.MoveCaretToEnd();
}

QColor QtColour(PaneColour colour)
{
    switch (colour) {
    case PaneColour::Red: return QColor(255, 0, 0);
    case PaneColour::Blue: return QColor(0, 0, 255);
    case PaneColour::Black: break;
    }
    return QColor(0, 0, 0);
}

std::optional<QString> LoadLogIntoView(ResultViews& views, const std::string& path, int templateNumber)
{
    QString error;
    const std::optional<QByteArray> bytes = ReadLogFile(path, &error);
    if (!bytes)
        return error;

    if (views.terminal) {
        PaneTextOptions options;
        options.templateNumber = templateNumber;
        options.cap = kTerminalCap;
        ShowPaneRuns(*views.terminal, LogPaneText(BytesView(*bytes), options).runs);
    }
    if (views.grid)
        views.grid->ReplaceWithLog(*bytes, templateNumber);
    SpanMessageRows(views);
    if (GridHasScrollBar(views.gridView))
        ScrollGridToLastRow(views);
    return std::nullopt;
}
