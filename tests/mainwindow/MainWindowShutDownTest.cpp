#include "MainWindowFixture.h"

#include "widgets/Twips.h"

#include <QAbstractButton>
#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <cmath>
#include <functional>
#include <vector>

using MainWindowShutDown = MainWindowFixture;

namespace {

const char* const kGeometryKeys[] = {"MainLeft", "MainTop", "MainWidth", "MainHeight",
                                     "CCLeft",   "CCTop",   "CCWidth",   "CCHeight"};

// A window of the station that notes when it is closed.
class NotedWindow : public QWidget {
public:
    NotedWindow(std::string name, std::vector<std::string>& closed)
        : name_(std::move(name))
        , closed_(closed)
    {}

protected:
    void closeEvent(QCloseEvent* event) override
    {
        closed_.push_back(name_);
        event->accept();
    }

private:
    std::string name_;
    std::vector<std::string>& closed_;
};

// The two ways the operator asks to leave: the exit button and the File menu's Exit.
struct ExitRoute {
    const char* how;
    std::function<void(MainWindow&)> ask;
};
const ExitRoute kExitRoutes[] = {
    {"CmdExit", [](MainWindow& w) { w.Control<QAbstractButton>("CmdExit")->click(); }},
    {"mnuExit", [](MainWindow& w) { w.MenuAction(QStringLiteral("mnuExit"))->trigger(); }},
};

} // namespace

TEST_F(MainWindowShutDown, AnsweringNoKeepsTheStationRunningWithNothingSaved)
{
    for (const ExitRoute& c : kExitRoutes) {
        SCOPED_TRACE(c.how);
        dialogs.asked.clear();
        MainWindow& w = Make();
        dialogs.QueueMessageAnswer(MessageAnswer::No);
        c.ask(w);

        ASSERT_EQ(dialogs.Count(QStringLiteral("Message")), 1);
        const auto* asked = dialogs.Last(QStringLiteral("Message"));
        EXPECT_EQ(asked->text, QStringLiteral("You are to quit this program. Are you sure?"));
        EXPECT_EQ(asked->title, QStringLiteral("Tallion Tool"));
        EXPECT_EQ(asked->icon, MessageIcon::Question);
        EXPECT_EQ(asked->buttons, MessageButtons::YesNoSafe) << "Return keeps the station running";
        EXPECT_TRUE(w.isVisible());
        EXPECT_TRUE(probePort->PortOpen());
        EXPECT_TRUE(w.core().receiveTick().isRunning());
        for (const char* key : kGeometryKeys)
            EXPECT_EQ(Stored(key), "<absent>") << key;
    }
}

TEST_F(MainWindowShutDown, AnsweringYesSavesTheGeometryClosesWindowsAndPorts)
{
    for (const ExitRoute& c : kExitRoutes) {
        SCOPED_TRACE(c.how);
        std::vector<std::string> closed;
        NotedWindow first("first", closed);
        NotedWindow second("second", closed);
        NotedWindow third("third", closed);
        MainWindow& w = Make();
        scalePort->SetPortOpen(true);
        first.show();
        second.show();
        third.show();
        w.RegisterStationWindow(&first);
        w.RegisterStationWindow(&second);
        w.RegisterStationWindow(&third);
        w.move(120, 90);
        const QRect outer = w.frameGeometry();

        dialogs.QueueMessageAnswer(MessageAnswer::Yes);
        c.ask(w);

        EXPECT_FALSE(w.isVisible());
        EXPECT_EQ(closed, (std::vector<std::string>{"third", "second", "first"}));
        EXPECT_FALSE(probePort->PortOpen());
        EXPECT_FALSE(scalePort->PortOpen());
        EXPECT_FALSE(w.core().receiveTick().isRunning());
        auto twips = [](double v) { return std::to_string(std::lround(v)); };
        const std::string left = twips(PixelsToTwipsX(w, outer.x()));
        const std::string top = twips(PixelsToTwipsY(w, outer.y()));
        const std::string width = twips(PixelsToTwipsX(w, outer.width()));
        const std::string height = twips(PixelsToTwipsY(w, outer.height()));
        EXPECT_EQ(Stored("MainLeft"), left);
        EXPECT_EQ(Stored("MainTop"), top);
        EXPECT_EQ(Stored("MainWidth"), width);
        EXPECT_EQ(Stored("MainHeight"), height);
        EXPECT_EQ(Stored("CCLeft"), left);
        EXPECT_EQ(Stored("CCTop"), top);
        EXPECT_EQ(Stored("CCWidth"), width);
        EXPECT_EQ(Stored("CCHeight"), height);
        // The window is at least its designed 9355 twips high.
        EXPECT_GE(std::stol(Stored("MainHeight")), 9355 - 20);
    }
}

TEST_F(MainWindowShutDown, LowWindowStoresOnlyTheCurrentCarcassKeys)
{
    struct Case {
        int heightPx;
        bool mainKeys;
    };
    MainWindow& w = Make(false);
    w.setMinimumSize(0, 0);
    for (const Case& c : {Case{40, false}, Case{300, true}}) {
        SCOPED_TRACE(c.heightPx);
        QFile::remove(settings.FilePath());
        w.resize(400, c.heightPx);
        ASSERT_EQ(PixelsToTwipsY(w, w.frameGeometry().height()) > 1000, c.mainKeys);
        w.SaveWindowGeometry();
        EXPECT_EQ(Stored("MainHeight") != "<absent>", c.mainKeys);
        EXPECT_EQ(Stored("MainLeft") != "<absent>", c.mainKeys);
        EXPECT_EQ(Stored("CCHeight"), std::to_string(std::lround(PixelsToTwipsY(w, w.frameGeometry().height()))));
        EXPECT_NE(Stored("CCLeft"), "<absent>");
    }
}

TEST_F(MainWindowShutDown, ClosingByThePlatformAsksNothing)
{
    MainWindow& w = Make();
    w.close();
    EXPECT_EQ(dialogs.asked.size(), 0u);
    EXPECT_FALSE(w.isVisible());
    EXPECT_NE(Stored("CCHeight"), "<absent>");
    EXPECT_FALSE(probePort->PortOpen());
}
