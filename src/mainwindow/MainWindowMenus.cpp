// The main window's menu: built from the one table of MenuTree.cpp, then the entries whose
// commands belong to the window itself are wired. The other entries get their commands from
// the work that specifies them.

#include "mainwindow/MainWindow.h"

#include "mainwindow/MainMenuRows.h"

#include <QAbstractButton>
#include <QAction>
#include <QMenuBar>

void MainWindow::BuildMenus()
{
    menuBar()->setObjectName(QStringLiteral("menuBar"));
    menus_ = BuildMenuTree(menuBar(), MainMenuRows());
}

void MainWindow::WireMenus()
{
    auto on = [this](const char* name, auto&& command) {
        if (QAction* action = MenuAction(QString::fromLatin1(name)))
            connect(action, &QAction::triggered, this, command);
    };
    // Entries that act as a press of a button of the window.
    auto presses = [this, &on](const char* name, const char* buttonName) {
        auto* button = Control<QAbstractButton>(buttonName);
        if (button)
            on(name, [button] { button->click(); });
    };

    on("mnuExit", [this] { AskToExit(true); });
    on("mnuLog", [this] { ChooseLogFileFromMenu(); });
    presses("mnuDel", "cmdDel");
    presses("mnuPrint", "CmdPrint");
    presses("mnuSummary", "CmdSummary");
    presses("mnuLayoutKey", "cmdHide");
    presses("mnuViewLogKey", "Pause");
    WirePrintingMenus();
    WireLogViewerMenus();
}
