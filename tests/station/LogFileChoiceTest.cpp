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

    MessageAnswer Message(const QString& text, const QString& title, MessageIcon, MessageButtons,
                          const QString&) override
    {
        asked.push_back(title.toStdString() + ": " + text.toStdString());
        return MessageAnswer::Yes;
    }
    std::optional<QString> InputBox(const QString&, const QString&, const QString&) override { return std::nullopt; }
    void Notify(const QString&, const QString&, MessageIcon) override {}
};

struct ChoiceRig {
    QTemporaryDir dir;
    SettingsStore settings{dir.filePath(QStringLiteral("station.ini"))};
    ScriptedQuestions notices; // the log's, never told here
    ResultLog log{PosixLogFileSystem(), notices};
    FakeSerialPort port;
    ProbeLink link{port};
    LogFileChoice choice{log, settings, link};
    int changes = 0;

    ChoiceRig()
    {
        log.SetLogFilePath("before.dif");
        QObject::connect(&choice, &LogFileChoice::logFileChanged, [this] { ++changes; });
        QFile(dir.filePath(QStringLiteral("old.dif"))).open(QIODevice::WriteOnly);
        QFile(dir.filePath(QStringLiteral("plain"))).open(QIODevice::WriteOnly);
    }
    std::string Path(const char* name) const
    {
        return QFile::encodeName(dir.filePath(QString::fromLatin1(name))).toStdString();
    }
};

// As the window runs it: the file is opened, then, when it is current, the counter reset offered.
TEST(LogFileChoice, TheNamedFileBecomesCurrentOrNothingChanges)
{
    struct Case {
        const char* name;
        bool linkAlive;
        LogFileOutcome outcome;
        const char* error;
        bool current; // the station logs to it now
        bool stored;  // the setting names it
        bool emptyFileThere;
        bool counterReset; // asked, answered Yes, and queued
    };
    const Case cases[] = {
        {"new.dif", true, LogFileOutcome::Created, "", true, true, true, true},
        {"old.dif", false, LogFileOutcome::Existing, "", true, true, true, false},
        {"missing/x.dif", true, LogFileOutcome::NotCreated, "No such file or directory", false, true, false, false},
        {"plain/x.dif", true, LogFileOutcome::LookUpFailed, "Not a directory", false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ChoiceRig rig;
        ScriptedQuestions questions;
        rig.link.setProbeLinkAlive(c.linkAlive);
        const std::string path = rig.Path(c.name);
        const LogFileOpening opened = rig.choice.Open(path);
        if (opened.outcome == LogFileOutcome::Created || opened.outcome == LogFileOutcome::Existing)
            rig.choice.OfferCounterReset(questions);

        EXPECT_EQ(opened.outcome, c.outcome);
        EXPECT_EQ(opened.error.toStdString(), c.error);
        EXPECT_EQ(rig.log.logFilePath(), c.current ? path : c.stored ? "" : "before.dif");
        EXPECT_EQ(rig.settings.ReadSetting("Properties", "LogFilePath", "<absent>"), c.stored ? path : "<absent>");
        EXPECT_EQ(rig.changes, c.stored ? 1 : 0) << "told once the path changed, before the file is made";
        QFile file(QString::fromStdString(path));
        EXPECT_EQ(file.exists() && file.size() == 0, c.emptyFileThere);
        EXPECT_EQ(questions.asked, c.counterReset ? std::vector<std::string>{"Reset carcass counter: Do you want to "
                                                                             "reset probe's counter to 001?"}
                                                  : std::vector<std::string>{});
        EXPECT_EQ(rig.link.Queue().count == 1 && rig.link.Queue().slotTexts[0] == "3000001", c.counterReset);
    }
}

} // namespace
