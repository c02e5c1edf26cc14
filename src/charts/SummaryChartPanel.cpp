#include "charts/SummaryChartPanel.h"

#include "charts/SummaryChartLayout.h"

#include <QResizeEvent>
#include <QScrollBar>
#include <QStyle>

namespace {

// The summary's widest lines are 75 characters (the asterisk lines).
constexpr int kSummaryColumns = 76;

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
    data_ = data;
    charts_.Show(data_, viewport()->size());
}

void SummaryChartPanel::PlaceBeside(QWidget& pane)
{
    const int frame = 2 * pane.style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    const int scrollBar = pane.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int textWidth =
        pane.fontMetrics().horizontalAdvance(QString(kSummaryColumns, QLatin1Char('*'))) + frame + scrollBar + 8;
    const PaneAndCharts shared = SharePaneArea(pane.geometry(), textWidth, kMinimumWidth);
    pane.setGeometry(shared.pane);
    setGeometry(shared.charts);
    show();
}

void SummaryChartPanel::resizeEvent(QResizeEvent* event)
{
    QGraphicsView::resizeEvent(event);
    charts_.Resize(viewport()->size());
}
