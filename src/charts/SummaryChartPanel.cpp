#include "charts/SummaryChartPanel.h"

#include "charts/SummaryChartLayout.h"

#include <QResizeEvent>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>

namespace {

// The columns of the summary's table, headings included ("Class         Count" without weight,
// up to "Lean Meat%" with it). The path and the asterisk lines are longer; beside the charts
// their ends are scrolled to, so that the numbers and the charts are seen together.
constexpr int kColumnsWithoutWeight = 20;
constexpr int kColumnsWithWeight = 69;

} // namespace

SummaryChartPanel::SummaryChartPanel(const QFont& font, QWidget* parent)
    : QGraphicsView(parent)
    , charts_(font)
{
    setObjectName(QStringLiteral("summaryCharts"));
    setScene(&charts_.scene());
    setFrameShape(QFrame::StyledPanel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setBackgroundBrush(Qt::white);
}

void SummaryChartPanel::ShowData(const SummaryChartData& data)
{
    tally_ = SummaryChartTally(data);
    charts_.Show(data, viewport()->size());
}

void SummaryChartPanel::AddLines(std::string_view lines)
{
    tally_.AddLines(lines);
    if (redrawPending_)
        return;
    redrawPending_ = true;
    QTimer::singleShot(0, this, [this] {
        redrawPending_ = false;
        charts_.Show(tally_.Data(), viewport()->size());
    });
}

void SummaryChartPanel::PlaceBeside(QWidget& pane, int lowest)
{
    const int frame = 2 * pane.style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    const int scrollBar = pane.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int textWidth =
        pane.fontMetrics().horizontalAdvance(
            QString(tally_.Data().mode == SummaryMode::WithWeight ? kColumnsWithWeight : kColumnsWithoutWeight,
                    QLatin1Char('0')))
        + frame + scrollBar + 8;
    const PaneAndCharts shared = SharePaneArea(pane.geometry(), textWidth, kMinimumWidth, lowest);
    pane.setGeometry(shared.pane);
    setGeometry(shared.charts);
    show();
}

void SummaryChartPanel::resizeEvent(QResizeEvent* event)
{
    QGraphicsView::resizeEvent(event);
    charts_.Resize(viewport()->size());
}
