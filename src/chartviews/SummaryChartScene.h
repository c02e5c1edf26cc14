#pragma once
// The summary's figures drawn with Qt Charts: the count per class (each bar labelled with its
// count and share), the lean meat % histogram with the class limits as lines, and with weight
// the average weight per class. They live in a scene of their own with its size set: a chart
// outside a scene, or in a view never shown, is not laid out and draws wrong.

#include "charts/SummaryChartData.h"

#include <QFont>
#include <QGraphicsScene>
#include <QList>
#include <QSizeF>

class QGraphicsSimpleTextItem;
class QPainter;
class QChart;

class SummaryChartScene {
public:
    // `font`: axis labels, counts and notes; titles are a little larger.
    explicit SummaryChartScene(const QFont& font);
    ~SummaryChartScene();
    SummaryChartScene(const SummaryChartScene&) = delete;
    SummaryChartScene& operator=(const SummaryChartScene&) = delete;

    // Rebuilds the figures for `data` at `size` (scene units).
    void Show(const SummaryChartData& data, QSizeF size);
    // The same data at another size.
    void Resize(QSizeF size);

    QGraphicsScene& scene() { return scene_; }
    QSizeF size() const { return size_; }
    // Draws the whole scene into `target`, keeping its proportions.
    void Render(QPainter& painter, const QRectF& target);

    // Texts drawn by the scene, for tests: bar labels and notes.
    QStringList Texts() const;
    // The figures, for tests: their titles, plot areas and fonts.
    QList<QChart*> Charts() const;

private:
    void Build();

    QFont font_;
    QGraphicsScene scene_;
    SummaryChartData data_;
    QSizeF size_;
};
