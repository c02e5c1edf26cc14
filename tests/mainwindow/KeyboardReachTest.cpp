// The main window from the keyboard: Tab leaves the grid for the toolbar, reaching the grid picks
// no row and moves nothing, every toolbar button says what it does, F6 and F7 press the two
// buttons that have no menu entry.

#include "MainWindowFixture.h"

#include "logviews/ResultView.h"

#include <QApplication>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <QToolButton>

namespace {

class KeyboardReach : public MainWindowFixture {
protected:
    MainWindow& Active()
    {
        MainWindow& w = Make();
        for (int n = 0; n < 80; ++n)
            AppendToResultView(w.views(), "10:00:01  01-01-2024,000" + std::to_string(100 + n) + ",2,3,4,5,6,\r", true);
        w.core().parts().link.setProbeLinkAlive(true);
        w.RefreshFindPrint();
        w.show();
        QApplication::setActiveWindow(&w);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&w));
        return w;
    }
    static QString Focused() { return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : "-"; }
};

} // namespace

TEST_F(KeyboardReach, TabGoesFromTheGridThroughTheToolbar)
{
    Active();
    auto* grid = Control<QTableView>("mfgResult");
    Control<QWidget>("CmdExit")->setFocus(Qt::TabFocusReason);
    const int scrolled = grid->verticalScrollBar()->value();
    ASSERT_GT(scrolled, 0);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(Focused(), "mfgResult");
    EXPECT_FALSE(grid->selectionModel()->hasSelection()) << "reaching the grid picks no row";
    EXPECT_EQ(grid->verticalScrollBar()->value(), scrolled) << "nor moves it";
    EXPECT_FALSE(Control<QWidget>("cmdDel")->isEnabled());

    QStringList reached;
    for (int n = 0; n < 8; ++n) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        reached << Focused();
    }
    EXPECT_EQ(reached, (QStringList{"Pause", "OpenLogFile", "CmdFind", "CmdPrint", "CmdSummary", "cmdHide", "CmdExit",
                                    "mfgResult"}));

    // A row picked from the keyboard makes Delete usable.
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_TRUE(grid->selectionModel()->hasSelection());
    EXPECT_TRUE(Control<QWidget>("cmdDel")->isEnabled());
}

TEST_F(KeyboardReach, InTheDetailLayoutTabPassesTheBoxesThatOnlyShow)
{
    Active();
    Control<QWidget>("cmdHide")->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    ASSERT_TRUE(Control<QWidget>("txtCarcassCounter")->isVisible());
    QStringList reached;
    for (int n = 0; n < 9; ++n) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        reached << Focused();
    }
    EXPECT_EQ(reached, (QStringList{"CmdExit", "mfgResult", "Pause", "OpenLogFile", "CmdFind", "CmdPrint", "CmdSummary",
                                    "cmdHide", "CmdExit"}));
}

TEST_F(KeyboardReach, ToolbarButtonsSayWhatTheyDoAndTheirKeys)
{
    MainWindow& w = Active();
    for (const char* name :
         {"Pause", "OpenLogFile", "CmdFind", "cmdDel", "CmdPrint", "CmdSummary", "cmdHide", "CmdExit"})
        EXPECT_FALSE(Control<QWidget>(name)->toolTip().isEmpty()) << name;
    EXPECT_EQ(Control<QWidget>("cmdHide")->toolTip(), "Show or hide the detail frames (F6)");
    EXPECT_EQ(Control<QWidget>("Pause")->toolTip(), "View Log-File (F7)");

    Control<QWidget>("mfgResult")->setFocus();
    // A button's key presses it visibly, a moment later.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.isShow(); }, 1000));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !w.isShow(); }, 1000));
}
