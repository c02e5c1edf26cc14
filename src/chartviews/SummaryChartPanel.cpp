#include "chartviews/SummaryChartPanel.h"

#include <QResizeEvent>
#include <QTimer>

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

void SummaryChartPanel::resizeEvent(QResizeEvent* event)
{
    QGraphicsView::resizeEvent(event);
    charts_.Resize(viewport()->size());
}
