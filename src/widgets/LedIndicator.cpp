#include "widgets/LedIndicator.h"

#include <QPainter>
#include <QRadialGradient>

LedIndicator::LedIndicator(const QColor& colour, QWidget* parent)
    : QWidget(parent)
    , colour_(colour)
{
    setAttribute(Qt::WA_TranslucentBackground);
}

QSize LedIndicator::sizeHint() const
{
    return {18, 18};
}

void LedIndicator::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal side = qMin(width(), height()) - 2.0;
    const QRectF lamp((width() - side) / 2.0, (height() - side) / 2.0, side, side);

    // Lit from the upper left, so that it reads as a lamp and not a flat dot.
    QRadialGradient glow(lamp.center() - QPointF(side / 5.0, side / 5.0), side * 0.75);
    glow.setColorAt(0.0, colour_.lighter(170));
    glow.setColorAt(0.55, colour_);
    glow.setColorAt(1.0, colour_.darker(160));
    p.setBrush(glow);
    p.setPen(QPen(QColor(60, 60, 60), 1.0));
    p.drawEllipse(lamp);
}

IndicatorSpot::IndicatorSpot(int side, QWidget* parent)
    : QWidget(parent)
{
    setFixedSize(side, side);
}

LedIndicator* IndicatorSpot::AddLamp(const QString& name, const QColor& colour)
{
    auto* lamp = new LedIndicator(colour, this);
    lamp->setObjectName(name);
    lamp->setGeometry(rect());
    return lamp;
}

void IndicatorSpot::resizeEvent(QResizeEvent*)
{
    for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        child->setGeometry(rect());
}
