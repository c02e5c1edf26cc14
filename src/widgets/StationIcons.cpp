#include "widgets/StationIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <functional>

namespace {

constexpr int kSide = 48;
const QColor kOutline(55, 60, 70);

QPixmap Draw(int side, const std::function<void(QPainter&)>& paint)
{
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(side / 48.0, side / 48.0); // every drawing is designed on 48 x 48
    paint(p);
    return pixmap;
}

QIcon MakeIcon(const std::function<void(QPainter&)>& paint)
{
    QIcon icon;
    icon.addPixmap(Draw(kSide, paint));
    icon.addPixmap(Draw(kSide * 2, paint));
    return icon;
}

void Sheet(QPainter& p, const QRectF& r)
{
    QPainterPath page;
    const qreal fold = r.width() * 0.3;
    page.moveTo(r.topLeft());
    page.lineTo(r.right() - fold, r.top());
    page.lineTo(r.right(), r.top() + fold);
    page.lineTo(r.bottomRight());
    page.lineTo(r.bottomLeft());
    page.closeSubpath();
    p.setPen(QPen(kOutline, 2));
    p.setBrush(QColor(250, 250, 245));
    p.drawPath(page);
    p.setPen(QPen(QColor(150, 160, 175), 2));
    for (qreal y = r.top() + fold + 4; y < r.bottom() - 4; y += 6)
        p.drawLine(QPointF(r.left() + 5, y), QPointF(r.right() - 5, y));
}

void PausePicture(QPainter& p, bool pressed)
{
    const QRectF face(3, 3, 42, 42);
    p.setPen(QPen(kOutline, 2));
    p.setBrush(pressed ? QColor(230, 160, 40) : QColor(225, 228, 232));
    p.drawRoundedRect(face, 8, 8);
    p.setPen(Qt::NoPen);
    p.setBrush(pressed ? QColor(90, 45, 0) : QColor(70, 80, 95));
    p.drawRoundedRect(QRectF(15, 13, 6, 22), 2, 2);
    p.drawRoundedRect(QRectF(27, 13, 6, 22), 2, 2);
}

} // namespace

namespace StationIcons {

QIcon OpenLog()
{
    return MakeIcon([](QPainter& p) {
        p.setPen(QPen(kOutline, 2));
        p.setBrush(QColor(230, 180, 60));
        QPainterPath back;
        back.moveTo(4, 12);
        back.lineTo(18, 12);
        back.lineTo(22, 16);
        back.lineTo(42, 16);
        back.lineTo(42, 40);
        back.lineTo(4, 40);
        back.closeSubpath();
        p.drawPath(back);
        p.setBrush(QColor(250, 210, 90));
        QPainterPath front;
        front.moveTo(4, 40);
        front.lineTo(10, 22);
        front.lineTo(46, 22);
        front.lineTo(42, 40);
        front.closeSubpath();
        p.drawPath(front);
    });
}

QIcon Find()
{
    return MakeIcon([](QPainter& p) {
        p.setPen(QPen(kOutline, 5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(29, 29), QPointF(42, 42));
        p.setPen(QPen(kOutline, 3));
        p.setBrush(QColor(200, 225, 250));
        p.drawEllipse(QPointF(20, 20), 13, 13);
    });
}

QIcon DeleteRow()
{
    return MakeIcon([](QPainter& p) {
        Sheet(p, QRectF(8, 4, 28, 38));
        p.setPen(QPen(QColor(200, 30, 30), 5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(26, 26), QPointF(42, 42));
        p.drawLine(QPointF(42, 26), QPointF(26, 42));
    });
}

QIcon Print()
{
    return MakeIcon([](QPainter& p) {
        p.setPen(QPen(kOutline, 2));
        p.setBrush(QColor(250, 250, 245));
        p.drawRect(QRectF(13, 5, 22, 14));
        p.setBrush(QColor(150, 158, 170));
        p.drawRoundedRect(QRectF(4, 17, 40, 18), 4, 4);
        p.setBrush(QColor(250, 250, 245));
        p.drawRect(QRectF(13, 29, 22, 15));
        p.setPen(QPen(QColor(150, 160, 175), 2));
        p.drawLine(QPointF(17, 35), QPointF(31, 35));
        p.drawLine(QPointF(17, 40), QPointF(31, 40));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 190, 80));
        p.drawEllipse(QPointF(38, 23), 2.5, 2.5);
    });
}

QIcon Summary()
{
    return MakeIcon([](QPainter& p) {
        p.setPen(QPen(kOutline, 2));
        p.drawLine(QPointF(5, 43), QPointF(44, 43));
        p.drawLine(QPointF(5, 43), QPointF(5, 4));
        const QColor bars[] = {QColor(60, 140, 220), QColor(80, 180, 90), QColor(230, 160, 40)};
        const qreal heights[] = {18, 34, 25};
        for (int i = 0; i < 3; ++i) {
            p.setBrush(bars[i]);
            p.drawRect(QRectF(10 + i * 11.5, 43 - heights[i], 9, heights[i]));
        }
    });
}

QIcon Layout()
{
    return MakeIcon([](QPainter& p) {
        p.setPen(QPen(kOutline, 2));
        p.setBrush(QColor(250, 250, 245));
        p.drawRect(QRectF(4, 6, 40, 36));
        p.setBrush(QColor(120, 170, 225));
        p.drawRect(QRectF(4, 6, 40, 8));
        p.setBrush(QColor(200, 220, 240));
        p.drawRect(QRectF(8, 17, 32, 9));
        p.setPen(QPen(kOutline, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF({QPointF(16, 31), QPointF(24, 38), QPointF(32, 31)}));
    });
}

QIcon Exit()
{
    return MakeIcon([](QPainter& p) {
        p.setPen(QPen(kOutline, 2));
        p.setBrush(QColor(160, 110, 70));
        p.drawRect(QRectF(6, 4, 22, 40));
        p.setBrush(QColor(240, 220, 120));
        p.drawEllipse(QPointF(23, 25), 2, 2);
        p.setPen(QPen(QColor(200, 30, 30), 5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(24, 24), QPointF(38, 24));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(200, 30, 30));
        p.drawPolygon(QPolygonF({QPointF(36, 15), QPointF(46, 24), QPointF(36, 33)}));
    });
}

QPixmap PauseUp(int side)
{
    return Draw(side, [](QPainter& p) { PausePicture(p, false); });
}

QPixmap PauseDown(int side)
{
    return Draw(side, [](QPainter& p) { PausePicture(p, true); });
}

} // namespace StationIcons
