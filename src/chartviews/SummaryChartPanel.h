#pragma once
// The summary's charts in the summary's window, beside or below its text, drawn in the grid's
// font so that the labels read as well as the grid from beside the line.

#include "charts/SummaryChartData.h"
#include "chartviews/SummaryChartScene.h"

#include <QGraphicsView>

class SummaryChartPanel : public QGraphicsView {
    Q_OBJECT
public:
    // `font`: the grid's font; labels and counts are never smaller.
    SummaryChartPanel(const QFont& font, QWidget* parent);

    void ShowData(const SummaryChartData& data);
    // Counts record lines finished since (whole lines, as the log holds them) and draws the
    // charts again once the event that brought them has ended, so that a burst of records is
    // drawn once and the receive tick never waits for a drawing.
    void AddLines(std::string_view lines);
    const SummaryChartData& data() const { return tally_.Data(); }
    SummaryChartScene& charts() { return charts_; }

    // Narrower than this, the charts go below the summary's text.
    static constexpr int kMinimumWidth = 420;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    SummaryChartScene charts_;
    SummaryChartTally tally_{SummaryMode::WithoutWeight};
    bool redrawPending_ = false;
};
