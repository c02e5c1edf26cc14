// Finding a text in the terminal pane: the modeless find dialog and the search it runs. While
// the dialog is open the pane shows under the grid, so that a match can be seen.

#include "mainwindow/MainWindow.h"

#include "log/TerminalPane.h"
#include "mainwindow/FindWindow.h"
#include "mainwindow/OperatorDialogs.h"
#include "resources/StringTable.h"

void MainWindow::ShowFindDialog()
{
    if (!viewer_.frmFind) {
        viewer_.frmFind = new FindWindow(
            viewer_.find, [this] { FindInTerminal(); }, this);
        connect(viewer_.frmFind, &QDialog::finished, this, [this] {
            viewer_.frmFind = nullptr; // closed; deleted on its own
            ShowTerminalAsNeeded(LayoutTrigger::Toggle);
        });
        RegisterStationWindow(viewer_.frmFind);
    }
    viewer_.frmFind->show();
    viewer_.frmFind->raise();
    viewer_.frmFind->activateWindow();
    ShowTerminalAsNeeded(LayoutTrigger::PaneSwitch);
}

void MainWindow::FindInTerminal()
{
    FindState& find = viewer_.find;
    const std::string text = Terminal->Text().toLatin1().toStdString();
    const long found = FindInText(text, Terminal->CaretPosition(), find);
    if (found < 0) {
        dialogs_.Message(ResourceText(1187) + QStringLiteral(" \"") + QString::fromLatin1(find.findText.c_str())
                             + QLatin1Char('"'),
                         QStringLiteral("Tallion"), MessageIcon::None, MessageButtons::Ok);
    } else {
        Terminal->SelectStored(static_cast<int>(found), static_cast<int>(find.findText.size()));
    }
    find.findLastPos = Terminal->CaretPosition();
    find.findTextChanged = false;
}
