#pragma once
// Where the current carcass window opens. In order: where the operator last left it, when that
// place lies wholly on a screen present now; full-screen on a second screen (a line often has a
// display facing the carcasses); beside the main window when its screen has room, narrower if it
// must (its figures shrink with it) rather than over the grid; else centred on the main window's
// screen. Its size never exceeds the screen it opens on.

#include <QList>
#include <QMargins>
#include <QRect>
#include <QSize>
#include <optional>

struct ScreenArea {
    QRect full;      // the whole screen
    QRect available; // without panels and docks
};

struct CarcassWindowPlace {
    QRect geometry; // the window's inner geometry (full screen: the screen's)
    bool fullScreen = false;
    // Index of the screen it goes on: separate X screens each start at 0,0, so the geometry alone
    // does not tell which.
    int screen = 0;
};

struct CarcassWindowSituation {
    QList<ScreenArea> screens;
    int mainScreen = 0;         // index of the main window's screen
    QRect mainFrame;            // the main window with its frame
    QMargins frame;             // what the window system adds around a window's inner geometry
    QSize designed;             // the window's designed inner size
    std::optional<QRect> saved; // the inner geometry the operator last left it at
    QSize least;                // the smallest inner size it can be read at; none: not narrower
};

CarcassWindowPlace PlaceCarcassWindow(const CarcassWindowSituation& situation);
