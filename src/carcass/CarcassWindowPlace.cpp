#include "carcass/CarcassWindowPlace.h"

#include <algorithm>

namespace {

// Space between the main window and the current carcass window beside it.
constexpr int kGap = 8;

bool WhollyOnAScreen(const QRect& frame, const QList<ScreenArea>& screens)
{
    for (const ScreenArea& screen : screens) {
        if (screen.available.contains(frame))
            return true;
    }
    return false;
}

} // namespace

CarcassWindowPlace PlaceCarcassWindow(const CarcassWindowSituation& s)
{
    if (s.screens.isEmpty())
        return {QRect(QPoint(0, 0), s.designed), false};
    if (s.saved && s.saved->isValid() && WhollyOnAScreen(s.saved->marginsAdded(s.frame), s.screens))
        return {*s.saved, false};

    const int main = s.mainScreen >= 0 && s.mainScreen < s.screens.size() ? s.mainScreen : 0;
    for (int i = 0; i < s.screens.size(); ++i) {
        if (i != main)
            return {s.screens[i].full, true};
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
            return {beside, false};
    }
    // Narrower beside it rather than over the grid and the status bar.
    const int height = std::min(size.height(), area.bottom() - top - s.frame.top() - s.frame.bottom() + 1);
    const int rightFrameLeft = s.mainFrame.right() + 1 + kGap;
    const int besideRight = area.right() - rightFrameLeft + 1 - s.frame.left() - s.frame.right();
    const int besideLeft = s.mainFrame.left() - kGap - area.left() - s.frame.left() - s.frame.right();
    if (!s.least.isEmpty() && height >= s.least.height()) {
        if (besideRight >= s.least.width())
            return {QRect(rightFrameLeft + s.frame.left(), top + s.frame.top(), besideRight, height), false};
        if (besideLeft >= s.least.width())
            return {QRect(area.left() + s.frame.left(), top + s.frame.top(), besideLeft, height), false};
    }
    QRect centred(QPoint(0, 0), size.grownBy(s.frame));
    centred.moveCenter(area.center());
    return {centred.marginsRemoved(s.frame), false};
}
