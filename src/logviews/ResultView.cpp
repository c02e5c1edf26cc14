#include "logviews/ResultView.h"

#include "logviews/ResultGridModel.h"
#include "logviews/TerminalPane.h"

#include <QScrollBar>
#include <QTableView>

namespace {

// What remains of the pane after a cap: the text from this character on, from its next line.
constexpr int kTerminalKeepFrom = kTerminalCap / 2;

// Backspaces edit the text before them; one that has nothing before it in `text` reaches into
// the pane and replaces the pane's last character. A single pass keeps long texts linear.
std::string ApplyBackspaces(const std::string& text, bool& replacesPaneCharacter)
{
    std::string result;
    result.reserve(text.size());
    for (const char c : text) {
        if (c != '\b') {
            result.push_back(c);
        } else if (result.empty()) {
            replacesPaneCharacter = true;
        } else {
            result.pop_back();
        }
    }
    return result;
}

// LF is dropped and every CR becomes CR LF, the pane's stored line end.
std::string WithPaneLineEnds(const std::string& text)
{
    std::string result;
    result.reserve(text.size() + 8);
    for (const char c : text) {
        if (c == '\n')
            continue;
        result.push_back(c);
        if (c == '\r')
            result.push_back('\n');
    }
    return result;
}

QString Latin1(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

std::vector<std::string> SplitResultText(const std::string& text, const std::string& separator)
{
    std::vector<std::string> pieces;
    if (separator.empty()) {
        pieces.push_back(text);
        return pieces;
    }
    size_t start = 0;
    for (;;) {
        const size_t found = text.find(separator, start);
        if (found == std::string::npos) {
            pieces.push_back(text.substr(start));
            return pieces;
        }
        pieces.push_back(text.substr(start, found - start));
        start = found + separator.size();
    }
}

std::string WithoutLineEnd(const std::string& text)
{
    size_t end = text.size();
    while (end > 0 && (text[end - 1] == '\r' || text[end - 1] == '\n'))
        --end;
    return text.substr(0, end);
}

void AppendToResultView(ResultViews& views, const std::string& text, bool isMeasurement)
{
    if (views.terminal && views.terminal->Length() > kTerminalCap)
        views.terminal->DropThroughLineAt(kTerminalKeepFrom);

    bool replacesPaneCharacter = false;
    const std::string shown = WithPaneLineEnds(ApplyBackspaces(text, replacesPaneCharacter));

    if (views.terminal) {
        const QColor colour = isMeasurement ? QColor(0, 0, 0) : QColor(255, 0, 0);
        if (replacesPaneCharacter)
            views.terminal->ReplaceLastAndAppend(Latin1(shown), colour);
        else
            views.terminal->AppendColoured(Latin1(shown), colour);
        views.terminal->MoveCaretToEnd();
    }

    if (views.grid) {
        // Display line or message, the grid cuts its cells when the row is shown.
        const int row = views.grid->AppendShownText(shown);
        if (views.gridView && views.grid->CellRed(row, 0) && views.grid->Columns() > 1)
            views.gridView->setSpan(row - 1, 0, 1, views.grid->Columns());
    }
    if (GridHasScrollBar(views.gridView))
        ScrollGridToLastRow(views);
}

void SpanMessageRows(ResultViews& views)
{
    if (!views.gridView || !views.grid)
        return;
    views.gridView->clearSpans();
    const int columns = views.grid->Columns();
    if (columns < 2)
        return;
    for (int row = 1; row < views.grid->Rows(); ++row) {
        if (views.grid->CellRed(row, 0))
            views.gridView->setSpan(row - 1, 0, 1, columns);
    }
}

bool GridHasScrollBar(const QTableView* gridView)
{
    if (!gridView)
        return false;
    // Rows added during this event are laid out lazily; lay them out now so that the scroll
    // range answers for the rows the grid holds at this moment.
    const_cast<QTableView*>(gridView)->doItemsLayout();
    const QScrollBar* bar = gridView->verticalScrollBar();
    return bar->maximum() > bar->minimum();
}

void ScrollGridToLastRow(ResultViews& views)
{
    if (!views.gridView || !views.gridView->model())
        return;
    QAbstractItemModel* model = views.gridView->model();
    const int lastRow = model->rowCount() - 1;
    if (lastRow < 0 || model->columnCount() < 1)
        return;
    // Only the vertical position changes; the operator's horizontal scroll stays.
    QScrollBar* horizontal = views.gridView->horizontalScrollBar();
    const int left = horizontal->value();
    views.gridView->scrollTo(model->index(lastRow, 0), QAbstractItemView::PositionAtTop);
    horizontal->setValue(left);
}
