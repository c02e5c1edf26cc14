#pragma once
// The private PostgreSQL server of the database's end-to-end tests: one server for the suite, a
// database of its own for each test, station roles mapped as the administrator maps them, and a
// station (log writer, journal, publisher) as the program wires it.

#include "database/DatabaseCommands.h"
#include "database/DatabasePublisher.h"
#include "database/OutboxJournal.h"
#include "database/PgPlantDatabase.h"
#include "log/LogFileWriter.h"
#include "log/LogLineDeletion.h"
#include "support/PrivatePostgresServer.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string_view>

// Runs a command function, capturing what it prints.
inline std::pair<int, std::string> Capture(int (*command)(const QStringList&, FILE*, FILE*),
                                           const QStringList& arguments)
{
    char* text = nullptr;
    size_t size = 0;
    FILE* out = open_memstream(&text, &size);
    const int status = command(arguments, out, stderr);
    std::fclose(out);
    std::string printed(text, size);
    std::free(text);
    return {status, printed};
}

inline void LogAlert(LogFileWriter& writer, const std::string& alert, const std::string& path)
{
    CarcassMeasurement record;
    record.kind = 'Z';
    record.alertText = alert;
    ASSERT_TRUE(writer.WriteLogRecord(record, path).written);
}

inline bool AnyLine(std::string_view)
{
    return true;
}

// One station: its log writer, the journal beside its log and the publisher.
struct Station {
    // `journalName`: the station's name in its journal's file name, as the station gives it.
    // `owedList`: the station's list of journals it still owes the server.
    Station(const std::string& logPath, const std::string& conninfo, const std::string& name,
            const std::string& journalName = {}, const std::string& owedList = {})
        : journal(journalName)
    {
        journal.KeepOwedList(std::make_shared<OwedJournals>(owedList));
        journal.compactAfter = 1000000; // the journal keeps every event, so the cursor can be put back
        journal.Open(logPath);
        publisher = std::make_unique<DatabasePublisher>(std::make_unique<PgPlantDatabase>(conninfo), journal, name);
        publisher->retryFirst = std::chrono::milliseconds(100);
        publisher->retryMost = std::chrono::milliseconds(300);
        journal.onChange = [this] { publisher->Wake(); };
        writer.SetChangeObserver(&journal);
        publisher->start();
    }
    ~Station() { publisher->Stop(); }

    void Log(const std::string& alert, const std::string& path) { LogAlert(writer, alert, path); }
    LineDeletion Delete(const std::string& path, size_t line)
    {
        return DeleteLogLine(path, line, AnyLine, PosixLogFileSystem(), &journal).outcome;
    }

    OutboxJournal journal;
    LogFileWriter writer;
    std::unique_ptr<DatabasePublisher> publisher;
};

inline const std::string kLines =
    "SELECT station, seq, line, deleted_at IS NOT NULL FROM result_lines ORDER BY station, seq";

class PostgresServerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        server_ = new PrivatePostgresServer;
        if (!server_->Start(&why_)) {
            delete server_;
            server_ = nullptr;
        }
    }
    static void TearDownTestSuite()
    {
        delete server_;
        server_ = nullptr;
    }

    void SetUp() override
    {
        if (!server_)
            GTEST_SKIP() << "no PostgreSQL server of the test's own: " << why_;
        database_ = "plant" + std::to_string(++databases_);
        ASSERT_EQ(server_->Sql("CREATE DATABASE " + database_), "");
        logPath = LogFile("station.dif");
    }

    // An empty log file in the test's folder.
    std::string LogFile(const char* name)
    {
        const QString path = dir_.filePath(QString::fromLatin1(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return path.toStdString();
    }

    std::string Conninfo() const { return server_->Conninfo(database_); }
    // A login role of its own for `station` ("Line 1" gives line1_plantN, password pw), mapped to it
    // with `tallion db add-station`; its connection string.
    std::string StationConninfo(const std::string& station)
    {
        std::string role;
        for (const char c : station)
            if (c != ' ')
                role += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        role += "_" + database_;
        if (Sql("SELECT 1 FROM pg_roles WHERE rolname = '" + role + "'").empty()) {
            EXPECT_EQ(Sql("CREATE ROLE " + role + " LOGIN PASSWORD 'pw'"), "");
        }
        EXPECT_EQ(AddStation(station, role).first, 0);
        return server_->Conninfo(database_, role, "pw");
    }
    // `tallion db add-station` as the administrator; the database is made first where it has no tables.
    std::pair<int, std::string> AddStation(const std::string& station, const std::string& role)
    {
        if (Sql("SELECT to_regclass('tallion.lines')") == "NULL\n") {
            EXPECT_EQ(Capture(RunDbCommand, {"db", "init", "--connection", QString::fromStdString(Conninfo())}).first,
                      0);
        }
        return Capture(RunDbCommand,
                       {"db", "add-station", "--connection", QString::fromStdString(Conninfo()), "--station",
                        QString::fromStdString(station), "--role", QString::fromStdString(role)});
    }
    std::string Sql(const std::string& sql) const { return server_->Sql(sql, database_); }

    // Waits until `sql` answers `expected`, and gives the last answer.
    std::string Await(const std::string& sql, const std::string& expected, int ms = 8000)
    {
        std::string answer;
        (void)QTest::qWaitFor(
            [&] {
                answer = Sql(sql);
                return answer == expected;
            },
            ms);
        return answer;
    }
    void ExpectLines(const std::string& expected) { EXPECT_EQ(Await(kLines, expected), expected); }

    static inline PrivatePostgresServer* server_ = nullptr;
    static inline std::string why_;
    static inline int databases_ = 0;
    std::string database_;
    QTemporaryDir dir_;
    std::string logPath;
};
