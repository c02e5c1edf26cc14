// Making a named log file the current one, without any window.

#include "station/LogFileChoice.h"
#include "probe/ProbeLink.h"
#include "settings/SettingsStore.h"
#include "station/OperatorQuestions.h"
#include "support/FakeSerialPort.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// Answers every question with `answer` and writes down what was asked.
struct ScriptedQuestions : OperatorQuestions {
    MessageAnswer answer = MessageAnswer::No;
    std::vector<std::string> asked;

    MessageAnswer Message(const QString& text, const QString& title, MessageIcon, MessageButtons,
                          const QString&) override
    {
        asked.push_back(title.toStdString() + ": " + text.toStdString());
        return answer;
    }
    std::optional<QString> InputBox(const QString&, const QString&, const QString&) override { return std::nullopt; }
    void Notify(const QString&, const QString&, MessageIcon) override {}
};

struct ChoiceRig {
    QTemporaryDir dir;
    SettingsStore settings{dir.filePath(QStringLiteral("station.ini"))};
    StationState state;
    FakeSerialPort port;
    ProbeLink link{port};
    LogFileChoice choice{state, settings, link};
    int changes = 0;

    ChoiceRig()
    {
        state.logFilePath = "before.dif";
        QObject::connect(&choice, &LogFileChoice::logFileChanged, [this] { ++changes; });
        QFile(dir.filePath(QStringLiteral("old.dif"))).open(QIODevice::WriteOnly);
        QFile(dir.filePath(QStringLiteral("plain"))).open(QIODevice::WriteOnly);
    }
    std::string Path(const char* name) const
    {
        return QFile::encodeName(dir.filePath(QString::fromLatin1(name))).toStdString();
    }
};

TEST(LogFileChoice, TheNamedFileBecomesCurrentOrNothingChanges)
{
    struct Case {
        const char* name;
        LogFileOutcome outcome;
        const char* error;
        bool current; // the station logs to it now
        bool stored;  // the setting names it
        bool emptyFileThere;
    };
    const Case cases[] = {
        {"new.dif", LogFileOutcome::Created, "", true, true, true},
        {"old.dif", LogFileOutcome::Existing, "", true, true, true},
        {"missing/x.dif", LogFileOutcome::NotCreated, "No such file or directory", false, true, false},
        {"plain/x.dif", LogFileOutcome::LookUpFailed, "Not a directory", false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ChoiceRig rig;
        const std::string path = rig.Path(c.name);
        const LogFileOpening opened = rig.choice.Open(path);
        EXPECT_EQ(opened.outcome, c.outcome);
        EXPECT_EQ(opened.error.toStdString(), c.error);
        EXPECT_EQ(rig.state.logFilePath, c.current ? path : c.stored ? "" : "before.dif");
        EXPECT_EQ(rig.settings.ReadSetting("Properties", "LogFilePath", "<absent>"), c.stored ? path : "<absent>");
        EXPECT_EQ(rig.changes, c.stored ? 1 : 0) << "told once the path changed, before the file is made";
        QFile file(QString::fromStdString(path));
        EXPECT_EQ(file.exists() && file.size() == 0, c.emptyFileThere);
    }
}

TEST(LogFileChoice, TheCounterResetIsOfferedWhileTheProbeListens)
{
    struct Case {
        bool linkAlive;
        MessageAnswer answer;
        size_t asked;
        int queued;
    };
    const Case cases[] = {
        {true, MessageAnswer::Yes, 1, 1},
        {true, MessageAnswer::No, 1, 0},
        {false, MessageAnswer::Yes, 0, 0},
    };
    for (const Case& c : cases) {
        ChoiceRig rig;
        ScriptedQuestions questions;
        questions.answer = c.answer;
        rig.link.setProbeLinkAlive(c.linkAlive);
        rig.choice.OfferCounterReset(questions);
        ASSERT_EQ(questions.asked.size(), c.asked);
        if (c.asked) {
            EXPECT_EQ(questions.asked[0], "Reset carcass counter: Do you want to reset probe's counter to 001?");
        }
        EXPECT_EQ(rig.link.Queue().count, c.queued);
        if (c.queued) {
            EXPECT_EQ(rig.link.Queue().slotTexts[0], "3000001");
        }
    }
}

} // namespace
