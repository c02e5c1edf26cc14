#pragma once
// The main window's button images, drawn by the program so that the station ships no image
// files. Each is drawn on a 48-pixel square and scaled by QIcon.

#include <QIcon>
#include <QPixmap>

namespace StationIcons {
QIcon OpenLog();   // a folder
QIcon Find();      // a magnifying glass
QIcon DeleteRow(); // a sheet with a red cross
QIcon Print();     // a printer
QIcon Summary();   // a bar chart
QIcon Layout();    // a window with a panel that folds in and out
QIcon Exit();      // a door with an arrow
// The pause control's two pictures: released (station running) and pressed (paused).
QPixmap PauseUp(int side = 28);
QPixmap PauseDown(int side = 28);
} // namespace StationIcons
