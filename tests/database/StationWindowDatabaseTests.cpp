// The main window and the `[Database]` settings: nothing at all without a connection; with one,
// the panel in the status bar, the journal beside the log, and lines that wait for a server that
// cannot be reached.

#include "database/StationDatabase.h"
#include "mainwindow/MainWindowFixture.h"

#include <QFile>
#include <QLabel>
#include <QTest>

namespace {

CarcassMeasurement ProbeError()
{
    CarcassMeasurement record;
    record.kind = 'Z';
    record.alertText = "Probe error 3";
    return record;
}

using StationWindowDatabase = MainWindowFixture;

TEST_F(StationWindowDatabase, WithoutConnectionNothingChanges)
{
    const QString log = dir.filePath(QStringLiteral("shift.dif"));
    ASSERT_TRUE(QFile(log).open(QIODevice::WriteOnly));
    Store({{"LogFilePath", log.toStdString()}});
    Make();
    window->core().parts().resultLog.WriteRecord(ProbeError());
    EXPECT_EQ(window->database(), nullptr);
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("stbrDatabase")), nullptr);
    EXPECT_FALSE(QFile::exists(log + QStringLiteral(".dbjournal")));
}

TEST_F(StationWindowDatabase, WithConnectionLinesAreJournalledAndWaitForTheServer)
{
    const QString log = dir.filePath(QStringLiteral("shift.dif"));
    ASSERT_TRUE(QFile(log).open(QIODevice::WriteOnly));
    Store({{"LogFilePath", log.toStdString()}});
    settings.WriteSetting("Database", "Connection", "host=" + dir.filePath(QStringLiteral("nowhere")).toStdString());
    settings.WriteSetting("Database", "StationName", "Line 1");
    Make();
    ASSERT_NE(window->database(), nullptr);
    window->core().parts().resultLog.WriteRecord(ProbeError());

    auto* panel = window->findChild<QLabel*>(QStringLiteral("stbrDatabase"));
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return panel->text() == QStringLiteral("Database: 1 waiting"); }, 3000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialogs.Count(QStringLiteral("Notice")) == 1; }, 5000));
    EXPECT_TRUE(dialogs.Last(QStringLiteral("Notice"))
                    ->text.startsWith(QStringLiteral("The plant database is not reachable; 1 result waits and will "
                                                     "be sent.\r\nNothing answers at port 5432 of ")));
    EXPECT_EQ(window->database()->Journal().LineMap(), (std::vector<std::int64_t>{1}));
}

} // namespace
