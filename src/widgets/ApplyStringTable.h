#pragma once
// Puts the string table's texts into a window laid out with ids.
//
// Layout conventions (windows are built with these):
// - the window: dynamic property "tag" = id of its caption;
// - QLabel: property "tag" = id of its text;
// - QAction (menu entries, QMenu::menuAction(), tool bar actions): laid out with the id as text;
// - QTabWidget: tabBar()->tabData(i) = id of the tab's text, tabToolTip(i) = id of its tooltip;
// - QToolBar: each action's toolTip = id of the tooltip;
// - QTreeWidget: headerItem()->data(col, Qt::UserRole) = id of the column's header text;
// - any other widget: property "tag" = id of its caption (button text, group box title, else
//   window title) and toolTip = id of its tooltip.
// An id that is not a number or has no entry leaves that text as laid out.

class QWidget;

void ApplyStringTable(QWidget* window);
