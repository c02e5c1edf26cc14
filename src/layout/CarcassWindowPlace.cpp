#include "layout/CarcassWindowPlace.h"

#include <algorithm>

namespace {

// Space between the main window and the current carcass window beside it.
constexpr int kGap = 8;

// The first screen that holds `frame` whole, or -1.
int ScreenHolding(const QRect& frame, const QList<ScreenArea>& screens)
{
    for (int i = 0; i < screens.size(); ++i) {
        if (screens[i].available.contains(frame))
            return i;
    }
    return -1;
}

} // namespace

CarcassWindowPlace PlaceCarcassWindow(const CarcassWindowSituation& s)
{
    if (s.screens.isEmpty())
        return {QRect(QPoint(0, 0), s.designed), false, 0};
    const int main = s.mainScreen >= 0 && s.mainScreen < s.screens.size() ? s.mainScreen : 0;
    if (s.saved && s.saved->isValid()) {
        // The main window's screen first where screens overlap (separate X screens).
        const QRect frame = s.saved->marginsAdded(s.frame);
        if (s.screens[main].available.contains(frame))
            return {*s.saved, false, main};
        if (const int holding = ScreenHolding(frame, s.screens); holding >= 0)
            return {*s.saved, false, holding};
    }

    for (int i = 0; i < s.screens.size(); ++i) {
        if (i != main)
            return {s.screens[i].full, true, i};
    }

    const QRect area = s.screens[main].available;
    const QSize room = area.marginsRemoved(s.frame).size();
    const QSize size = s.designed.boundedTo(room);
    auto inner = [&](int frameLeft, int frameTop) {
        return QRect(QPoint(frameLeft + s.frame.left(), frameTop + s.frame.top()), size);
    };
    const int frameWidth = size.width() + s.frame.left() + s.frame.right();
    const int top = std::max(s.mainFrame.top(), area.top());
    for (const int left : {s.mainFrame.right() + 1 + kGap, s.mainFrame.left() - kGap - frameWidth}) {
        const QRect beside = inner(left, top);
        if (area.contains(beside.marginsAdded(s.frame)))
            return {beside, false, main};
    }
    // Narrower beside it rather than over the grid and the status bar.
    const int height = std::min(size.height(), area.bottom() - top - s.frame.top() - s.frame.bottom() + 1);
    const int rightFrameLeft = s.mainFrame.right() + 1 + kGap;
    const int besideRight = area.right() - rightFrameLeft + 1 - s.frame.left() - s.frame.right();
    const int besideLeft = s.mainFrame.left() - kGap - area.left() - s.frame.left() - s.frame.right();
    if (!s.least.isEmpty() && height >= s.least.height()) {
        if (besideRight >= s.least.width())
            return {QRect(rightFrameLeft + s.frame.left(), top + s.frame.top(), besideRight, height), false, main};
        if (besideLeft >= s.least.width())
            return {QRect(area.left() + s.frame.left(), top + s.frame.top(), besideLeft, height), false, main};
    }
    QRect centred(QPoint(0, 0), size.grownBy(s.frame));
    centred.moveCenter(area.center());
    return {centred.marginsRemoved(s.frame), false, main};
}
