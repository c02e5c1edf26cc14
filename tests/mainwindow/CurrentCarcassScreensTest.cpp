// Where the current carcass window opens on the screens of a real line: a second screen facing
// the carcasses, or one 1024x768 screen. The offscreen platform takes its screens from a
// configuration file when the program starts, so each case runs this test program again.

#include "MainWindowFixture.h"

#include "carcasswindow/CurrentCarcassWindow.h"
#include "mainwindow/StationResults.h"

#include <QAction>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QProcess>
#include <QScreen>
#include <QTest>

namespace {

constexpr const char* kCaseVariable = "TALLION_SCREENS_CASE";

// Runs `test` of this program on the screens of `screensJson`; true when it passed.
bool RunOnScreens(const QString& test, const QString& caseName, const QByteArray& screensJson, const QString& folder)
{
    const QString config = folder + "/screens-" + caseName + ".json";
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(screensJson);
    file.close();
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen:configfile=" + config);
    env.insert(kCaseVariable, caseName);
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=CurrentCarcassScreens." + test});
    return child.waitForFinished(60000) && child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0;
}

class CurrentCarcassScreens : public MainWindowFixture {
protected:
    CurrentCarcassWindow& ShowIt()
    {
        weighing = true;
        Store({{"WgtScaleModel", "2"}});
        MainWindow& w = Make();
        w.show();
        Menu("mnuShowCC")->trigger();
        return w.results().carcassWindow();
    }
};

} // namespace

TEST_F(CurrentCarcassScreens, FullScreenOnASecondScreen)
{
    if (qEnvironmentVariable(kCaseVariable) != "two") {
        EXPECT_TRUE(RunOnScreens("FullScreenOnASecondScreen", "two",
                                 R"({"screens": [
                                     {"name": "desk", "x": 0, "y": 0, "width": 1280, "height": 1024},
                                     {"name": "line", "x": 1280, "y": 0, "width": 1920, "height": 1080}]})",
                                 dir.path()));
        return;
    }
    ASSERT_EQ(QGuiApplication::screens().size(), 2);
    CurrentCarcassWindow& led = ShowIt();
    EXPECT_TRUE(led.isFullScreen());
    EXPECT_EQ(led.geometry(), QRect(1280, 0, 1920, 1080));
    EXPECT_EQ(led.screen()->name(), "line");
    EXPECT_GT(led.figureScale(), 1.0) << "the figures fill the line's display";

    // Escape leaves full-screen, on the same screen; the window's menu offers it too.
    QTest::keyClick(&led, Qt::Key_Escape);
    EXPECT_FALSE(led.isFullScreen());
    EXPECT_TRUE(QRect(1280, 0, 1920, 1080).contains(led.geometry()));
    EXPECT_EQ(led.geometry().size(), led.designedSize());
    ASSERT_NE(led.findChild<QAction*>("mnuLeaveFullScreen"), nullptr);
    EXPECT_TRUE(led.actions().contains(led.findChild<QAction*>("mnuLeaveFullScreen")));
}

TEST_F(CurrentCarcassScreens, FitsA1024x768ScreenAndReopensWhereItWasLeft)
{
    if (qEnvironmentVariable(kCaseVariable) != "small") {
        EXPECT_TRUE(RunOnScreens("FitsA1024x768ScreenAndReopensWhereItWasLeft", "small",
                                 R"({"screens": [{"name": "desk", "x": 0, "y": 0, "width": 1024, "height": 768}]})",
                                 dir.path()));
        return;
    }
    CurrentCarcassWindow& led = ShowIt();
    const QRect screen(0, 0, 1024, 768);
    EXPECT_FALSE(led.isFullScreen());
    EXPECT_TRUE(screen.contains(led.frameGeometry()))
        << "placed at " << led.frameGeometry().x() << "," << led.frameGeometry().y() << " "
        << led.frameGeometry().width() << "x" << led.frameGeometry().height();
    EXPECT_LE(led.layout()->minimumSize().height(), led.height()) << "every control has its room";
    for (const QLabel* label : led.findChildren<QLabel*>()) {
        if (!label->property("valueLabel").toBool() && !label->text().isEmpty()) {
            EXPECT_GE(label->font().pointSizeF(), 9.0) << "caption " << label->text().toStdString() << " readable";
        }
    }

    led.setGeometry(40, 50, 420, 600);
    led.close();
    EXPECT_EQ(Stored("CurrentCarcassLeft") + " " + Stored("CurrentCarcassTop") + " " + Stored("CurrentCarcassWidth")
                  + " " + Stored("CurrentCarcassHeight"),
              "40 50 420 600");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // the closed window is gone
    Menu("mnuShowCC")->trigger();
    EXPECT_EQ(window->results().carcassWindow().geometry(), QRect(40, 50, 420, 600));
}
