// The current carcass window's figures grow and shrink with the window: on a small screen the
// whole window still fits, full-screen on a display facing the line the figures fill it.

#include "carcasswindow/CurrentCarcassWindow.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QResizeEvent>
#include <QScreen>
#include <algorithm>
#include <cmath>

namespace {

// The widest texts each kind of value takes: a six-digit counter, "199.90" kg.
const QString kWidestValue = QStringLiteral("888888");

constexpr double kSmallest = 0.35;
constexpr double kLargest = 4.0;
// Below this change the fonts stay as they are, so small drags do not redo the layout.
constexpr double kSteadyRatio = 0.02;
// Captions stay readable however small the window: the figures give way instead.
constexpr double kLeastCaptionPoints = 9.0;

} // namespace

void CurrentCarcassWindow::RecordScaledFigures()
{
    const int basePoints = font().pointSize();
    for (QWidget* child : findChildren<QWidget*>()) {
        const int points = child->font().pointSize();
        if (points > 0 && points != basePoints)
            scaled_.push_back({child, points});
    }
    figureScale_ = 1.0;
    designedSize_ = sizeHint();
    // The window's own least size: the figures shrink instead.
    layout()->setSizeConstraint(QLayout::SetNoConstraint);
    setMinimumSize(designedSize_ * kSmallest);
}

void CurrentCarcassWindow::ApplyFigureScale(double factor)
{
    figureScale_ = factor;
    for (const ScaledFigure& figure : scaled_) {
        QFont f = figure.widget->font();
        const bool caption = qobject_cast<QLabel*>(figure.widget) && !figure.widget->property("valueLabel").toBool();
        const double least = caption ? std::min<double>(figure.points, kLeastCaptionPoints) : 4.0;
        f.setPointSizeF(std::max(least, figure.points * factor));
        figure.widget->setFont(f);
        const QFontMetrics metrics(f);
        // Value labels and the weight box are wide enough for their widest value, never cut.
        if (figure.widget->objectName() == QLatin1String("LEDWeight")) {
            figure.widget->setMinimumWidth(metrics.horizontalAdvance(kWidestValue) + 24);
        } else if (figure.widget->objectName() == QLatin1String("LEDerr")) {
            // Room for two lines: the longest scale error wraps once.
            figure.widget->setMinimumHeight(2 * metrics.lineSpacing() + 4);
        } else if (figure.widget->property("valueLabel").toBool()) {
            figure.widget->setMinimumWidth(metrics.horizontalAdvance(kWidestValue) + 28);
            figure.widget->setMinimumHeight(metrics.height() + 4);
        }
    }
    layout()->activate();
}

void CurrentCarcassWindow::FitFigures()
{
    if (designedSize_.isEmpty())
        return;
    double factor = std::min(double(height()) / designedSize_.height(), double(width()) / designedSize_.width());
    factor = std::clamp(factor, kSmallest, kLargest);
    if (std::abs(factor - figureScale_) > kSteadyRatio * figureScale_)
        ApplyFigureScale(factor);
    // Margins and spacing do not scale: shrink a little more until everything fits.
    for (int step = 0; step < 12 && figureScale_ > kSmallest; ++step) {
        const QSize needed = layout()->minimumSize();
        if (needed.height() <= height() && needed.width() <= width())
            break;
        ApplyFigureScale(std::max(kSmallest, figureScale_ * 0.95));
    }
}

void CurrentCarcassWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FitFigures();
}

void CurrentCarcassWindow::GrowToShowFrames()
{
    // More frames need more room; a window the operator made larger stays as it is, and none
    // grows beyond its screen.
    QSize wanted = size().expandedTo(sizeHint());
    if (const QScreen* on = screen()) {
        const QSize frame = frameGeometry().size() - size();
        wanted = wanted.boundedTo(on->availableGeometry().size() - frame);
    }
    resize(wanted);
    FitFigures();
}

void CurrentCarcassWindow::closeEvent(QCloseEvent* event)
{
    // A full-screen window on the line's display is placed there again by itself.
    if (isVisible() && !isFullScreen() && !isMinimized() && placeLeft)
        placeLeft(geometry());
    QWidget::closeEvent(event);
}
