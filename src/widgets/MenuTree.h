#pragma once
// A window's menus from one table: each row is a menu, an entry or a separator, with its level,
// station name, laid-out caption (a string-table id such as "1001", or a literal text) and its
// state when the window first shows.

#include <QHash>
#include <QString>
#include <span>

class QAction;
class QMenuBar;

enum MenuFlag : unsigned {
    kMenuHidden = 1u << 0,
    kMenuDisabled = 1u << 1,
    kMenuCheckable = 1u << 2,
    kMenuChecked = 1u << 3,
};

struct MenuRow {
    int level;           // 0: a menu on the menu bar; 1, 2: entries below it
    const char* name;    // objectName; nullptr for a separator
    const char* caption; // id or literal; ApplyStringTable turns ids into texts
    unsigned flags;
};

// Builds the menus of `rows` on `bar`. A row followed by a row of a deeper level becomes a
// submenu. Returns every named row's action (a submenu's menuAction()) by objectName; the menus
// and actions carry the row's name as objectName too.
// As the station always worked, choosing an entry never changes its check mark by itself: the
// entry's command decides (a probe command refused while the link is down leaves it as it was).
QHash<QString, QAction*> BuildMenuTree(QMenuBar* bar, std::span<const MenuRow> rows);
