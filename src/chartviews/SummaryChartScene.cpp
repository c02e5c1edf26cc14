#include "chartviews/SummaryChartScene.h"

#include "charts/SummaryChartLayout.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QGraphicsLayout>
#include <QGraphicsSimpleTextItem>
#include <QLineSeries>
#include <QPainter>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace {

// The station's colours: black text on white, the grid's grey lines, the window's slate and
// amber, red for what the operator must notice (here the class limits).
const QColor kText(0, 0, 0);
const QColor kGridLine(225, 225, 225);
const QColor kSlate(70, 80, 95);
const QColor kAmber(230, 160, 40);
const QColor kGreen(20, 110, 30);
const QColor kLimit(255, 0, 0);

// Class limits of the lean meat %: P below 40, O from 40, R 45, U 50, E 55, S from 60.
constexpr int kClassLimits[] = {40, 45, 50, 55, 60};

// The share in whole percents, the one form on screen, paper and in files: a decimal would not
// stay apart from its neighbour over narrow bars.
QString ShareText(long long count, long long all)
{
    const double share = all == 0 ? 0.0 : 100.0 * static_cast<double>(count) / static_cast<double>(all);
    return QString::number(share, 'f', 0) + QStringLiteral(" %");
}

void SetAxisTitle(QAbstractAxis* axis, const QString& title, const QFont& font)
{
    axis->setTitleText(title);
    axis->setTitleFont(font);
    axis->setTitleBrush(kText);
}

// The axis from 0 to a whole number of round steps (1, 2 or 5 times a power of ten) above
// `largest`, at most five steps.
void SetCountRange(QValueAxis* axis, double largest)
{
    const double wanted = std::max(1.0, largest);
    double step = 1;
    while (wanted / step > 5) {
        const double mantissa = step / std::pow(10.0, std::floor(std::log10(step)));
        step *= mantissa > 1.5 && mantissa < 4 ? 2.5 : 2; // 1, 2, 5, 10, 20, 50 ...
    }
    axis->setRange(0, std::ceil(wanted / step) * step);
    axis->setTickInterval(step);
}

QValueAxis* CountAxis(double largest, const QFont& font)
{
    auto* axis = new QValueAxis;
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0);
    SetCountRange(axis, largest * 1.15);
    axis->setLabelFormat(QStringLiteral("%.0f"));
    axis->setLabelsFont(font);
    axis->setGridLineColor(kGridLine);
    axis->setLabelsColor(kText);
    return axis;
}

QChart* NewChart(const QString& title, const QFont& titleFont)
{
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->setTitleFont(titleFont);
    chart->setTitleBrush(kText);
    chart->legend()->hide();
    chart->setBackgroundBrush(Qt::white);
    chart->setBackgroundRoundness(0);
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->setAnimationOptions(QChart::NoAnimation);
    return chart;
}

// One bar per class letter, S to P.
QBarSeries* ClassBars(const std::array<double, 6>& values, const QColor& colour)
{
    auto* set = new QBarSet(QString());
    for (double v : values)
        *set << v;
    set->setColor(colour);
    set->setBorderColor(colour.darker(130));
    auto* series = new QBarSeries;
    series->append(set);
    series->setBarWidth(0.7);
    return series;
}

QBarCategoryAxis* ClassAxis(const QFont& font)
{
    auto* axis = new QBarCategoryAxis;
    for (char c : kChartClasses)
        axis->append(QString(QLatin1Char(c)));
    axis->setLabelsFont(font);
    axis->setLabelsColor(kText);
    axis->setGridLineVisible(false);
    return axis;
}

} // namespace

SummaryChartScene::SummaryChartScene(const QFont& font)
    : font_(font)
{
    scene_.setBackgroundBrush(Qt::white);
}

SummaryChartScene::~SummaryChartScene() = default;

void SummaryChartScene::Show(const SummaryChartData& data, QSizeF size)
{
    data_ = data;
    size_ = size;
    Build();
}

void SummaryChartScene::Resize(QSizeF size)
{
    if (size == size_)
        return;
    size_ = size;
    Build();
}

void SummaryChartScene::Render(QPainter& painter, const QRectF& target)
{
    scene_.render(&painter, target, QRectF(QPointF(0, 0), size_), Qt::KeepAspectRatio);
}

QStringList SummaryChartScene::Texts() const
{
    QStringList texts;
    for (QGraphicsItem* item : scene_.items(Qt::AscendingOrder)) {
        if (auto* text = dynamic_cast<QGraphicsSimpleTextItem*>(item))
            texts << text->text();
    }
    return texts;
}

QList<QChart*> SummaryChartScene::Charts() const
{
    QList<QChart*> charts;
    for (QGraphicsItem* item : scene_.items(Qt::AscendingOrder)) {
        if (auto* chart = dynamic_cast<QChart*>(item))
            charts << chart;
    }
    return charts;
}

void SummaryChartScene::Build()
{
    scene_.clear();
    scene_.setSceneRect(QRectF(QPointF(0, 0), size_));
    if (size_.isEmpty())
        return;

    const bool withWeight = data_.mode == SummaryMode::WithWeight;
    QFont titleFont = font_;
    titleFont.setBold(true);
    const QFontMetricsF metrics(font_);
    const double noteHeight = metrics.height() * 1.3;
    // The caption above the figures: which log, which days.
    const QString caption = data_.Caption();
    const double captionHeight = caption.isEmpty() ? 0.0 : metrics.height() * 1.4;
    if (!caption.isEmpty()) {
        auto* item = scene_.addSimpleText(caption, titleFont);
        item->setBrush(kText);
        item->setPos(metrics.height() * 0.5, metrics.height() * 0.2);
    }
    SummaryFigureRects rects = ArrangeSummaryFigures(QSizeF(size_.width(), size_.height() - captionHeight), withWeight,
                                                     metrics.height() * 0.25);
    for (QRectF* rect : {&rects.classes, &rects.leanMeat, &rects.weight})
        rect->translate(0, captionHeight);

    // Places a chart in its rectangle above a line for its note, and lays it out at once, so
    // that values can be mapped to positions for the labels.
    auto place = [&](QChart* chart, const QRectF& rect, const QString& note) {
        scene_.addItem(chart);
        chart->setGeometry(rect.adjusted(0, 0, 0, -noteHeight));
        if (chart->layout())
            chart->layout()->activate();
        if (!note.isEmpty()) {
            auto* item = scene_.addSimpleText(note, font_);
            item->setBrush(kText);
            item->setPos(rect.left() + metrics.height() * 0.5, rect.bottom() - noteHeight);
        }
    };
    // Raises the top of the count axis until `lines` lines of labels fit above the tallest bar
    // (or the plot is too low for any room to help).
    auto makeRoom = [&](QChart* chart, QValueAxis* y, double largest, int lines) {
        const double plot = chart->plotArea().height();
        const double label = lines * metrics.height() + 4;
        if (largest <= 0 || plot < 2 * label || largest * plot / (plot - label) <= y->max())
            return;
        SetCountRange(y, largest * plot / (plot - label));
        chart->layout()->invalidate();
        chart->layout()->activate();
    };
    // Lines of text centred above the bar at `index` with value `value`, the last line lowest.
    auto labelBar = [&](QChart* chart, QBarSeries* series, int index, double value, const QStringList& lines) {
        QPointF at = chart->mapToPosition(QPointF(index, value), series) - QPointF(0, 2);
        for (qsizetype i = lines.size() - 1; i >= 0; --i) {
            auto* item = new QGraphicsSimpleTextItem(lines[i], chart);
            item->setFont(font_);
            item->setBrush(kText);
            const QRectF box = item->boundingRect();
            at.ry() -= box.height();
            item->setPos(at.x() - box.width() / 2, at.y());
        }
    };

    // Count per class, each bar with its count and share of all counted.
    {
        std::array<double, 6> counts{};
        double largest = 0;
        for (size_t c = 0; c < counts.size(); ++c) {
            counts[c] = static_cast<double>(data_.classCount[c]);
            largest = std::max(largest, counts[c]);
        }
        QChart* chart = NewChart(QStringLiteral("Carcasses per class (%1)").arg(data_.Counted()), titleFont);
        QBarSeries* series = ClassBars(counts, kSlate);
        chart->addSeries(series);
        QBarCategoryAxis* x = ClassAxis(font_);
        QValueAxis* y = CountAxis(largest, font_);
        SetAxisTitle(x, QStringLiteral("Class"), font_);
        SetAxisTitle(y, QStringLiteral("Carcasses"), font_);
        chart->addAxis(x, Qt::AlignBottom);
        chart->addAxis(y, Qt::AlignLeft);
        series->attachAxis(x);
        series->attachAxis(y);
        QStringList leftOut;
        if (data_.withoutLeanMeat > 0)
            leftOut << QStringLiteral("%1 left out: no lean meat %").arg(data_.withoutLeanMeat);
        if (data_.withoutClass > 0)
            leftOut << QStringLiteral("%1 left out: class not S, E, U, R, O or P").arg(data_.withoutClass);
        const QString note = leftOut.join(QStringLiteral("; "));
        place(chart, rects.classes, note);
        makeRoom(chart, y, largest, 2);
        for (size_t c = 0; c < counts.size(); ++c) {
            labelBar(chart, series, static_cast<int>(c), counts[c],
                     {QString::number(data_.classCount[c]), ShareText(data_.classCount[c], data_.Counted())});
        }
    }

    // Lean meat % in 1 % bins, with the class limits drawn over them.
    {
        std::array<double, kLeanMeatBins> bins{};
        double largest = 0;
        for (size_t b = 0; b < bins.size(); ++b) {
            bins[b] = static_cast<double>(data_.leanMeat[b]);
            largest = std::max(largest, bins[b]);
        }
        QChart* chart = NewChart(QStringLiteral("Lean meat %"), titleFont);
        auto* set = new QBarSet(QString());
        for (double v : bins)
            *set << v;
        set->setColor(kAmber);
        set->setBorderColor(kAmber.darker(140));
        auto* series = new QBarSeries;
        series->append(set);
        series->setBarWidth(0.9);
        chart->addSeries(series);

        // Bin b stands at x = b; a limit L lies between the bins of L - 1 and L.
        auto* x = new QCategoryAxis;
        // A bin's width of room at each end, so that the end bins' labels fit under them.
        x->setRange(-1.5, kLeanMeatBins + 0.5);
        x->setStartValue(-1.5);
        x->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
        // The end bins are labelled under their bars below (the axis leaves out the label of
        // its first category).
        for (int percent = 35; percent < kLeanMeatHigh; percent += 5)
            x->append(QString::number(percent), percent - kLeanMeatLow + 0.5);
        x->setLabelsFont(font_);
        x->setLabelsColor(kText);
        x->setGridLineVisible(false);
        QValueAxis* y = CountAxis(largest, font_);
        SetAxisTitle(x, QStringLiteral("Lean meat % in 1 % steps"), font_);
        SetAxisTitle(y, QStringLiteral("Carcasses"), font_);
        chart->addAxis(x, Qt::AlignBottom);
        chart->addAxis(y, Qt::AlignLeft);
        series->attachAxis(x);
        series->attachAxis(y);

        const double top = y->max();
        std::vector<QLineSeries*> limits;
        for (int limit : kClassLimits) {
            auto* line = new QLineSeries;
            const double at = limit - kLeanMeatLow + 0.5;
            line->append(at, 0);
            line->append(at, top);
            QPen pen(kLimit);
            pen.setWidthF(std::max(2.0, metrics.height() / 8));
            pen.setStyle(Qt::DashLine);
            line->setPen(pen);
            chart->addSeries(line);
            line->attachAxis(x);
            line->attachAxis(y);
            limits.push_back(line);
        }
        const QString note = data_.withoutLeanMeat > 0
                                 ? QStringLiteral("%1 left out: no lean meat %").arg(data_.withoutLeanMeat)
                                 : QString();
        place(chart, rects.leanMeat, note);
        for (int bin : {0, kLeanMeatBins - 1}) {
            const QPointF foot = chart->mapToPosition(QPointF(bin, 0), series);
            auto* item = new QGraphicsSimpleTextItem(QString::fromStdString(LeanMeatBinLabel(bin)), chart);
            item->setFont(font_);
            item->setBrush(kText);
            item->setPos(foot.x() - item->boundingRect().width() / 2, foot.y() + metrics.height() * 0.2);
        }
        // The class letters between the limits, along the top of the plot.
        const double edges[] = {-1.5, 10.5, 15.5, 20.5, 25.5, 30.5, kLeanMeatBins + 0.5};
        const char letters[] = "PORUES";
        for (int i = 0; i < 6; ++i) {
            const QPointF left = chart->mapToPosition(QPointF(edges[i], top), series);
            const QPointF right = chart->mapToPosition(QPointF(edges[i + 1], top), series);
            auto* item = new QGraphicsSimpleTextItem(QString(QLatin1Char(letters[i])), chart);
            item->setFont(titleFont);
            item->setBrush(kLimit);
            const QRectF box = item->boundingRect();
            item->setPos((left.x() + right.x() - box.width()) / 2, left.y() + 2);
        }
    }

    // Average weight per class.
    if (withWeight) {
        std::array<double, 6> averages{};
        double largest = 0;
        for (size_t c = 0; c < averages.size(); ++c) {
            averages[c] = data_.AverageWeight(c);
            largest = std::max(largest, averages[c]);
        }
        QChart* chart = NewChart(QStringLiteral("Average weight per class (kg)"), titleFont);
        QBarSeries* series = ClassBars(averages, kGreen);
        chart->addSeries(series);
        QBarCategoryAxis* x = ClassAxis(font_);
        QValueAxis* y = CountAxis(largest, font_);
        y->setLabelFormat(QStringLiteral("%.0f"));
        SetAxisTitle(x, QStringLiteral("Class"), font_);
        SetAxisTitle(y, QStringLiteral("kg"), font_);
        chart->addAxis(x, Qt::AlignBottom);
        chart->addAxis(y, Qt::AlignLeft);
        series->attachAxis(x);
        series->attachAxis(y);
        place(chart, rects.weight, QString());
        makeRoom(chart, y, largest, 1);
        // Whole kilograms where bars stand too close for a decimal.
        const int decimals =
            metrics.horizontalAdvance(QStringLiteral("888.8")) + metrics.height() / 2 > chart->plotArea().width() / 6
                ? 0
                : 1;
        for (size_t c = 0; c < averages.size(); ++c) {
            if (data_.classCount[c] > 0)
                labelBar(chart, series, static_cast<int>(c), averages[c],
                         {QString::number(averages[c], 'f', decimals)});
        }
    }
}
