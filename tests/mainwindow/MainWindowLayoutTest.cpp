#include "MainWindowFixture.h"

#include "logviews/ResultGridModel.h"
#include "logviews/TerminalPane.h"
#include "widgets/LedIndicator.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QMetaObject>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

using MainWindowLayout = MainWindowFixture;

namespace {

bool Shown(QWidget* w)
{
    return w->isVisible();
}

} // namespace

TEST_F(MainWindowLayout, ToggleShowsTheFramesThatFitTheWeightSource)
{
    struct Case {
        bool noWeight;
        bool weightShown; // frWeight and Frame3
    };
    for (const Case& c : {Case{true, false}, Case{false, true}}) {
        SCOPED_TRACE(c.noWeight ? "No Weight ticked" : "a weight source");
        MainWindow& w = Make();
        Menu("mnuWgtNon")->setChecked(c.noWeight);
        auto* grid = Control<QTableView>("mfgResult");
        const int compactTop = grid->geometry().top();

        w.ToggleLayout();
        EXPECT_TRUE(w.isShow());
        EXPECT_TRUE(Shown(Control<QWidget>("frResult")));
        EXPECT_TRUE(Shown(Control<QWidget>("frError")));
        EXPECT_EQ(Shown(Control<QWidget>("frWeight")), c.weightShown);
        EXPECT_EQ(Shown(Control<QWidget>("Frame3")), c.weightShown);
        // The grid moves down by the Result frame's height.
        const int frameHeight = Control<QWidget>("frResult")->height();
        EXPECT_NEAR(grid->geometry().top() - compactTop, frameHeight, 2);

        w.ToggleLayout();
        EXPECT_FALSE(w.isShow());
        for (const char* frame : {"frWeight", "frResult", "Frame3", "frError"})
            EXPECT_FALSE(Shown(Control<QWidget>(frame))) << frame;
        EXPECT_EQ(grid->geometry().top(), compactTop);
    }
}

TEST_F(MainWindowLayout, GridFillsTheWindowBelowTheStatusFrame)
{
    MainWindow& w = Make();
    auto* grid = Control<QTableView>("mfgResult");
    auto* status = Control<QWidget>("FrameStatus");
    EXPECT_GT(grid->geometry().top(), status->geometry().bottom());
    EXPECT_EQ(grid->geometry().left(), status->geometry().left());
    EXPECT_EQ(grid->width(), status->width());
    EXPECT_LE(grid->geometry().bottom(), w.centralWidget()->height());
    // Most of the window is grid.
    EXPECT_GT(grid->height(), w.centralWidget()->height() / 2);

    // Growing the window grows the grid.
    const int before = grid->height();
    w.resize(w.width() + 100, w.height() + 150);
    EXPECT_GT(grid->height(), before);
    EXPECT_GT(grid->width(), status->width() - 2);
}

TEST_F(MainWindowLayout, WindowDoesNotGoBelowItsDesignedSize)
{
    MainWindow& w = Make();
    const QSize designed = w.size();
    w.resize(300, 200);
    EXPECT_GE(w.width(), designed.width());
    EXPECT_GE(w.height(), designed.height());
}

TEST_F(MainWindowLayout, FittedGridEndsWithItsLastRowWhole)
{
    MainWindow& w = Make();
    ResultGridModel* model = w.views().grid;
    for (int i = 0; i < 300; ++i)
        model->SetCell(model->AppendRow(), 0, QString::number(i));
    w.PlaceViews(false);
    auto* grid = Control<QTableView>("mfgResult");
    const int placed = grid->height();

    w.FitGridToLastRows();
    const int last = model->rowCount() - 1;
    EXPECT_LE(grid->height(), placed);
    EXPECT_GT(grid->height(), placed - grid->rowHeight(last));
    // Scrolled to the end: the last row on the bottom edge, the top row whole.
    const int top = grid->rowAt(0);
    EXPECT_EQ(grid->rowViewportPosition(top), 0);
    EXPECT_EQ(grid->rowViewportPosition(last) + grid->rowHeight(last), grid->viewport()->height());
}

TEST_F(MainWindowLayout, FindAndPrintFollowTheLinkAndPause)
{
    struct Case {
        bool alive;
        bool paused;
        bool usable;
    };
    MainWindow& w = Make();
    for (const Case& c :
         {Case{false, false, false}, Case{true, false, true}, Case{false, true, true}, Case{true, true, true}}) {
        w.core().parts().link.setProbeLinkAlive(c.alive);
        w.core().parts().link.setStationPaused(c.paused);
        w.RefreshFindPrint();
        EXPECT_EQ(Menu("mnuFind")->isEnabled(), c.usable) << c.alive << c.paused;
        EXPECT_EQ(Menu("mnuPrint")->isEnabled(), c.usable) << c.alive << c.paused;
        EXPECT_EQ(Control<QWidget>("CmdFind")->isEnabled(), c.usable) << c.alive << c.paused;
        EXPECT_EQ(Control<QWidget>("CmdPrint")->isEnabled(), c.usable) << c.alive << c.paused;
    }
}

TEST_F(MainWindowLayout, FindAndPrintFollowTheLinkFromTheFirstPoll)
{
    MainWindow& w = Make();
    EXPECT_FALSE(Control<QWidget>("CmdFind")->isEnabled());
    probePort->Feed("H\x05");
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.core().link().probeLinkAlive(); }, 2000));
    EXPECT_TRUE(Menu("mnuFind")->isEnabled());
    EXPECT_TRUE(Menu("mnuPrint")->isEnabled());
    EXPECT_TRUE(Control<QWidget>("CmdFind")->isEnabled());
    EXPECT_TRUE(Control<QWidget>("CmdPrint")->isEnabled());
}

TEST_F(MainWindowLayout, ClockCountsInPanelSeven)
{
    MainWindow& w = Make();
    for (int i = 0; i < 7; ++i)
        QMetaObject::invokeMethod(Control<QTimer>("Clock"), "timeout", Qt::DirectConnection);
    EXPECT_EQ(w.StatusPanel(7), QStringLiteral("00:00:07"));
}

TEST_F(MainWindowLayout, LampsFollowTheLink)
{
    MainWindow& w = Make();
    auto shown = [&](const char* name) { return !Control<QWidget>(name)->isHidden(); };
    // Before the probe is heard: nothing on the link spot, Tx and Rx dim.
    EXPECT_FALSE(shown("CommLED1"));
    EXPECT_FALSE(shown("CommLED2"));
    EXPECT_FALSE(shown("ErrLED"));
    EXPECT_TRUE(shown("TxLED2"));
    EXPECT_FALSE(shown("TxLED"));
    EXPECT_TRUE(shown("RxLED2"));
    EXPECT_FALSE(shown("RxLED"));

    // The first reception only starts the link; then command polls swap the link lamps. The
    // first poll loads the start-up commands, the second sends one.
    w.core().parts().link.RunLinkStep("");
    w.core().parts().link.RunLinkStep("H\x05");
    EXPECT_TRUE(shown("CommLED1"));
    EXPECT_FALSE(shown("CommLED2"));
    EXPECT_TRUE(shown("TxLED2"));
    w.core().parts().link.RunLinkStep("H\x05");
    EXPECT_FALSE(shown("CommLED1"));
    EXPECT_TRUE(shown("CommLED2"));
    EXPECT_TRUE(shown("TxLED"));
    EXPECT_FALSE(shown("TxLED2"));
    w.core().parts().link.RunLinkStep("\x06");
    EXPECT_TRUE(shown("TxLED2"));
    EXPECT_FALSE(shown("TxLED"));

    // A data poll: a message is expected until it comes.
    w.core().parts().link.RunLinkStep("h\x05");
    EXPECT_TRUE(shown("RxLED"));
    EXPECT_FALSE(shown("RxLED2"));
    w.core().parts().link.RunLinkStep("\x01"
                                      "A\x02"
                                      "P2-0042\x03");
    EXPECT_FALSE(shown("RxLED"));
    EXPECT_TRUE(shown("RxLED2"));
    EXPECT_EQ(w.StatusPanel(6), QStringLiteral("P2-0042"));
}

TEST_F(MainWindowLayout, LinkSignalsReachTheWindow)
{
    MainWindow& w = Make();
    // The dispatch shows the probe's information in status panel 1.
    w.core().parts().link.RunLinkStep("");
    w.core().parts().link.RunLinkStep("h\x05");
    w.core().parts().link.RunLinkStep("\x01I\x02"
                                      "01RZ4 ready\x03");
    EXPECT_EQ(w.StatusPanel(1), QStringLiteral("RZ4 ready"));
    EXPECT_TRUE(Menu("mnuDis")->isEnabled());

    // Each message is told to whoever listens to the link.
    std::string taken;
    QObject::connect(&w.core().link(), &ProbeLink::messageReceived, [&](const std::string& m) { taken = m; });
    Menu("mnuDis")->setEnabled(false);
    w.core().parts().link.RunLinkStep("h\x05");
    w.core().parts().link.RunLinkStep("\x01I\x02"
                                      "again\x03");
    EXPECT_EQ(taken, "Iagain");
    EXPECT_TRUE(Menu("mnuDis")->isEnabled());

    // Manual weighing: the weight box is enabled at a data poll.
    auto* weight = Control<QWidget>("txtWeight");
    weight->setEnabled(false);
    w.core().parts().link.RunLinkStep("h\x05");
    EXPECT_FALSE(weight->isEnabled());
    w.core().parts().link.RunLinkStep("\x01"
                                      "C\x02\x03");
    w.core().parts().weighingState.weightSource = WeightSource::ManualInput;
    w.core().parts().link.RunLinkStep("h\x05");
    EXPECT_TRUE(weight->isEnabled());
}

TEST_F(MainWindowLayout, APauseShowsABandAcrossTheGridWithTheResultsItHolds)
{
    MainWindow& w = Make();
    auto* band = Control<QLabel>("PauseBanner");
    ProbeLink& link = w.core().parts().link;
    link.RunLinkStep("x"); // out of the start state
    w.core().SetPaused(true);
    EXPECT_TRUE(band->isVisible());
    for (const char* counter : {"000001", "000002"}) {
        link.RunLinkStep(std::string{'h', 5});
        link.RunLinkStep(std::string{1, 'E', 2} + "01" + counter + "01250530001203000450612ABS140533X" + '\3');
    }
    EXPECT_EQ(band->text(), "Station paused: 2 results from the probe held until the pause ends (F7).");
    const QRect grid = Control<QWidget>("mfgResult")->geometry();
    EXPECT_EQ(band->geometry().left(), grid.left());
    EXPECT_EQ(band->geometry().width(), grid.width());
    EXPECT_GE(band->font().pointSizeF(), 1.5 * w.font().pointSizeF()) << "readable from a metre away";
    w.core().SetPaused(false);
    EXPECT_FALSE(band->isVisible());
}
