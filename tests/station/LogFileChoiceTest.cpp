// Making a named log file the current one, without any window.

#include "station/LogFileChoice.h"
#include "probe/ProbeLink.h"
#include "settings/SettingsStore.h"
#include "station/OperatorQuestions.h"
#include "station/ResultLog.h"
#include "support/FakeSerialPort.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// Answers Yes to every question and writes down what was asked.
struct ScriptedQuestions : OperatorQuestions {
    std::vector<std::string> asked;

    MessageAnswer Message(const QString& text, const QString& title, MessageIcon, MessageButtons buttons,
                          const QString&) override
    {
        // Resetting the probe's counter is the kind of question Return must not answer Yes.
        asked.push_back(title.toStdString() + ": " + text.toStdString()
                        + (buttons == MessageButtons::YesNoSafe ? "" : " (Yes by default)"));
        return MessageAnswer::Yes;
    }
    std::optional<QString> InputBox(const QString&, const QString&, const QString&) override { return std::nullopt; }
    void Notify(const QString&, const QString&, MessageIcon) override {}
};

// As the window runs it: the file is opened, then, when it is current, the counter reset offered.
TEST(LogFileChoice, TheNamedFileBecomesCurrentOrNothingChanges)
{
    using O = LogFileOutcome;
    struct Case {
        const char* name;
        bool linkAlive;
        LogFileOutcome outcome;
        const char* error;
        bool current, stored; // the station logs to it now; the setting names it
        bool counterReset;    // asked, answered Yes, and queued
    };
    const Case cases[] = {
        {"new.dif", true, O::Created, "", true, true, true},
        {"old.dif", false, O::Existing, "", true, true, false},
        {"missing/x.dif", true, O::NotCreated, "No such file or directory", false, true, false},
        {"plain/x.dif", true, O::LookUpFailed, "Not a directory", false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        SettingsStore settings(dir.filePath(QStringLiteral("station.ini")));
        ScriptedQuestions notices, questions; // the log's notices are never told here
        ResultLog log{PosixLogFileSystem(), notices};
        FakeSerialPort port;
        ProbeLink link{port};
        LogFileChoice choice{log, settings, link};
        int changes = 0;
        log.SetLogFilePath("before.dif");
        QObject::connect(&choice, &LogFileChoice::logFileChanged, [&] { ++changes; });
        QFile(dir.filePath(QStringLiteral("old.dif"))).open(QIODevice::WriteOnly);
        QFile(dir.filePath(QStringLiteral("plain"))).open(QIODevice::WriteOnly);
        link.setProbeLinkAlive(c.linkAlive);
        const std::string path = QFile::encodeName(dir.filePath(QString::fromLatin1(c.name))).toStdString();

        const LogFileOpening opened = choice.Open(path);
        if (opened.outcome == O::Created || opened.outcome == O::Existing)
            choice.OfferCounterReset(questions);

        EXPECT_EQ(opened.outcome, c.outcome);
        EXPECT_EQ(opened.error.toStdString(), c.error);
        EXPECT_EQ(log.logFilePath(), c.current ? path : c.stored ? "" : "before.dif");
        EXPECT_EQ(settings.ReadSetting("Properties", "LogFilePath", "<absent>"), c.stored ? path : "<absent>");
        EXPECT_EQ(changes, c.stored ? 1 : 0) << "told once the path changed, before the file is made";
        QFile file(QString::fromStdString(path));
        EXPECT_EQ(file.exists() && file.size() == 0, c.current);
        const std::vector<std::string> reset{"Reset carcass counter: Do you want to reset probe's counter to 001?"};
        EXPECT_EQ(questions.asked, c.counterReset ? reset : std::vector<std::string>{});
        EXPECT_EQ(link.Queue().count == 1 && link.Queue().slotTexts[0] == "3000001", c.counterReset);
    }
}

} // namespace
