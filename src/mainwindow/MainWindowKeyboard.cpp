// The main window from the keyboard: every toolbar button says what it does, and the two that
// have no menu entry get a function key of their own.

#include "mainwindow/MainWindow.h"

#include "logviewer/LogViewer.h"

#include <QKeySequence>
#include <QToolButton>

namespace {

// "Text (F6)": the key shows where the operator looks for what a button does.
QString WithKey(const QString& tip, const QKeySequence& key)
{
    return QStringLiteral("%1 (%2)").arg(tip, key.toString(QKeySequence::NativeText));
}

} // namespace

void MainWindow::SetUpToolbarKeys()
{
    const QKeySequence layoutKey(Qt::Key_F6);
    hideButton->setShortcut(layoutKey);
    hideButton->setToolTip(WithKey(QStringLiteral("Show or hide the detail frames"), layoutKey));

    logViewer_->SetUpPauseKey();

    // As its menu entry, which carries no string of the table either.
    Control<QToolButton>("cmdDel")->setToolTip(QStringLiteral("Delete"));
}
