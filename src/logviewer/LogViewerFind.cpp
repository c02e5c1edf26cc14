// Finding a text in the terminal pane: the modeless find dialog and the search it runs. While
// the dialog is open the pane shows under the grid, so that a match can be seen.

#include "logviewer/LogViewer.h"

#include "logviewer/FindWindow.h"
#include "logviews/TerminalPane.h"
#include "resources/AppTitle.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"
#include "widgets/OperatorDialogs.h"

void LogViewer::ShowFindDialog()
{
    if (!state_.findWindow) {
        state_.findWindow = new FindWindow(
            state_.find, [this] { FindInTerminal(); }, parent_);
        connect(state_.findWindow, &QDialog::finished, this, [this] {
            state_.findWindow = nullptr; // closed; deleted on its own
            ShowTerminalAsNeeded(LayoutTrigger::Toggle);
        });
        window_->RegisterStationWindow(state_.findWindow);
    }
    state_.findWindow->show();
    state_.findWindow->raise();
    state_.findWindow->activateWindow();
    ShowTerminalAsNeeded(LayoutTrigger::PaneSwitch);
}

void LogViewer::FindInTerminal()
{
    FindState& find = state_.find;
    TerminalPane& pane = *views_.terminal;
    const std::string text = pane.Text().toLatin1().toStdString();
    const long found = FindInText(text, pane.CaretPosition(), find);
    if (found < 0) {
        dialogs_.Message(ResourceText(StringId::CannotFind) + QStringLiteral(" \"")
                             + QString::fromLatin1(find.findText.c_str()) + QLatin1Char('"'),
                         kAppTitle, MessageIcon::None, MessageButtons::Ok);
    } else {
        pane.SelectStored(static_cast<int>(found), static_cast<int>(find.findText.size()));
    }
    find.findLastPos = pane.CaretPosition();
    find.findTextChanged = false;
}
