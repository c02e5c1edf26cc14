#include "mainwindow/PauseBanner.h"

PauseBanner::PauseBanner(QWidget* parent)
    : QLabel(parent)
{
    setObjectName(QStringLiteral("PauseBanner"));
    setAlignment(Qt::AlignCenter);
    setWordWrap(true);
    // Amber, as the held link lamp: neither working nor lost.
    setStyleSheet(QStringLiteral("QLabel { background: rgb(240, 160, 20); color: black; border: 2px solid black; }"));
    QFont big = font();
    big.setPointSizeF(big.pointSizeF() * 1.8);
    big.setBold(true);
    setFont(big);
    hide();
}

void PauseBanner::ShowState(bool paused, int held)
{
    if (!paused) {
        hide();
        return;
    }
    setText(held == 0 ? QStringLiteral("Station paused: results from the probe are held until the pause ends (F7).")
                      : QStringLiteral("Station paused: %1 result%2 from the probe held until the pause ends (F7).")
                            .arg(held)
                            .arg(held == 1 ? QString() : QStringLiteral("s")));
    show();
    raise();
}

void PauseBanner::Place(int left, int top, int width)
{
    setGeometry(left, top, width, heightForWidth(width) > 0 ? heightForWidth(width) + 16 : sizeHint().height() + 16);
    raise();
}
