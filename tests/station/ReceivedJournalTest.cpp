// The journal of received messages on disk: what a torn or damaged file gives back, the state's
// text with every byte a record may hold, and one station per journal.

#include "station/ReceivedJournal.h"

#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace {

HeldState StateWithHostileBytes()
{
    HeldState state;
    state.queue.count = 1;
    state.queue.readIndex = 3;
    state.queue.writeIndex = 4;
    state.queue.weights[3] = " 85.40";
    state.queue.carcasses[3].kind = 'E';
    state.queue.carcasses[3].carcassCount = "000201";
    state.queue.carcasses[3].comment = std::string("a\tb\r\nc\\d\xff", 10);
    state.current.currentMeasurement.alertText = "Probing error";
    state.current.lineIsMeasurement = false;
    state.mainIgnoresNextCancel = true;
    state.unwritten.push_back({"\t000200\t\r\n", true});
    state.held.push_back({7, 1765350000123, std::string("E\x01\x02\n", 4)});
    state.logPath = "/data/shift 1.dif";
    state.logSize = 4096;
    return state;
}

void Cut(const std::string& path, qint64 size)
{
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.resize(size));
}

void Poke(const std::string& path, qint64 at)
{
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.seek(at);
    file.write("#");
}

TEST(ReceivedJournal, AStateComesBackWithEveryByteOfItsTexts)
{
    const HeldState state = StateWithHostileBytes();
    const std::optional<HeldState> back = ParseHeldState(SerializeHeldState(state));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->queue.carcasses[3].comment, std::string("a\tb\r\nc\\d\xff", 10));
    EXPECT_EQ(back->held, state.held);
    EXPECT_EQ(SerializeHeldState(*back), SerializeHeldState(state)) << "every other part comes back as it was";
    EXPECT_FALSE(ParseHeldState("queue\t0\t0\t11\t0\n")) << "more carcasses than the ring holds";
}

TEST(ReceivedJournal, ATornOrDamagedJournalGivesBackItsSoundEntriesAndKeepsACopy)
{
    struct Case {
        const char* what;
        std::function<void(const std::string& path, qint64 sizeAfterState)> damage;
        size_t messages; // kept after the state, read back
        bool copied;
    };
    const Case cases[] = {
        {"whole", [](const std::string&, qint64) {}, 2, false},
        {"last entry torn by a power cut", [](const std::string& p, qint64 size) { Cut(p, size + 65); }, 1, true},
        {"a byte of the first message changed", [](const std::string& p, qint64 size) { Poke(p, size + 25); }, 0, true},
        {"the header gone", [](const std::string& p, qint64) { Poke(p, 0); }, 0, true},
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        const std::string path = dir.filePath(QStringLiteral("j.journal")).toStdString();
        qint64 sizeAfterState = 0;
        {
            ReceivedJournal journal;
            ReceivedJournal::Contents contents;
            ASSERT_EQ(journal.Open(path, contents), ReceivedJournal::Opening::Opened);
            ASSERT_TRUE(journal.AppendState(5, SerializeHeldState(StateWithHostileBytes())));
            sizeAfterState = journal.Size();
            ASSERT_TRUE(journal.AppendMessage({6, 1000, "E000001"}));
            ASSERT_TRUE(journal.AppendMessage({7, 2000, "E000002"}));
        }
        c.damage(path, sizeAfterState);
        ReceivedJournal journal;
        ReceivedJournal::Contents contents;
        ASSERT_EQ(journal.Open(path, contents), ReceivedJournal::Opening::Opened) << c.what;
        EXPECT_EQ(contents.after.size(), c.messages) << c.what;
        EXPECT_EQ(!contents.damagedCopy.empty(), c.copied) << c.what;
        if (c.messages > 0) {
            EXPECT_EQ(contents.after[0], (ReceivedMessage{6, 1000, "E000001"})) << c.what;
        }
        if (c.copied) {
            EXPECT_TRUE(QFile::exists(QString::fromStdString(contents.damagedCopy))) << c.what;
        }
        // The journal goes on after its last sound entry.
        ASSERT_TRUE(journal.AppendMessage({9, 3000, "E000009"})) << c.what;
        journal.Close(false);
        ReceivedJournal again;
        ASSERT_EQ(again.Open(path, contents), ReceivedJournal::Opening::Opened);
        EXPECT_EQ(contents.after.back(), (ReceivedMessage{9, 3000, "E000009"})) << c.what;
        EXPECT_TRUE(contents.damagedCopy.empty()) << c.what;
    }
}

TEST(ReceivedJournal, OneStationAtATime)
{
    QTemporaryDir dir;
    const std::string path = ReceivedJournalPath(dir.path().toStdString(), "/etc/line 1.ini");
    EXPECT_EQ(path.rfind(dir.path().toStdString() + "/received-line 1-", 0), 0u) << path;
    ReceivedJournal first;
    ReceivedJournal second;
    ReceivedJournal::Contents contents;
    ASSERT_EQ(first.Open(path, contents), ReceivedJournal::Opening::Opened);
    EXPECT_EQ(second.Open(path, contents), ReceivedJournal::Opening::HeldByOther);
    first.Close(true);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));
}

} // namespace
