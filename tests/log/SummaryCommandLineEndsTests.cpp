// `tallion summary` on logs as other programs leave them: lines ended by CR alone or LF alone, a
// new shift's log holding only its header, and a file with no header line at all.

#include "log/SummaryCommand.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdio>

namespace {

std::string DataFile(const char* name)
{
    QFile file(QStringLiteral(TALLION_TEST_DATA_DIR "/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string("<missing>");
}

std::string Replaced(std::string text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

struct SummaryRun {
    int status;
    std::string out;
    std::string err;
};

std::string Drain(FILE* f)
{
    std::rewind(f);
    std::string text;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
        text.append(buffer, n);
    std::fclose(f);
    return text;
}

SummaryRun Summary(const std::string& path)
{
    FILE* out = std::tmpfile();
    FILE* err = std::tmpfile();
    const int status = RunSummaryCommand(std::vector<std::string>{"summary", path}, out, err);
    return {status, Drain(out), Drain(err)};
}

} // namespace

TEST(SummaryCommandLineEnds, CrLfAndCrAloneGiveTheSameSummary)
{
    QTemporaryDir dir;
    const std::string log = DataFile("summary_unweighed.dif");
    ASSERT_NE(log.find("\r\n"), std::string::npos);
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"crlf.dif", log},
        {"lf.dif", Replaced(log, "\r\n", "\n")},
        {"cr.dif", Replaced(log, "\r\n", "\r")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.filePath(QString::fromLatin1(c.name)).toStdString();
        QFile file(QString::fromStdString(path));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.bytes.data(), static_cast<qint64>(c.bytes.size()));
        file.close();
        const SummaryRun run = Summary(path);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, Replaced(DataFile("summary_unweighed.txt"), "summary_unweighed.dif", path));
        EXPECT_EQ(run.err, "");
    }
}

TEST(SummaryCommandLineEnds, AHeaderAloneIsTotalZeroAndNoHeaderIsAFailure)
{
    QTemporaryDir dir;
    const std::string log = DataFile("summary_unweighed.dif");
    const std::string header = log.substr(0, log.find('\n') + 1);
    const struct {
        const char* name;
        std::string bytes;
        int status;
        const char* out; // a part of standard output; nothing is printed for a failure
        const char* err; // standard error after the path
    } cases[] = {
        {"header.dif", header, 0, "\r\nTotal:           0\r\n", ""},
        {"header-cr.dif", header.substr(0, header.size() - 2) + "\r", 0, "\r\nTotal:           0\r\n", ""},
        {"records.dif", log.substr(header.size()), 1, "", " has no header line, so it is not a result log\n"},
        {"empty.dif", "", 1, "", " has no header line, so it is not a result log\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.filePath(QString::fromLatin1(c.name)).toStdString();
        QFile file(QString::fromStdString(path));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.bytes.data(), static_cast<qint64>(c.bytes.size()));
        file.close();
        const SummaryRun run = Summary(path);
        EXPECT_EQ(run.status, c.status);
        if (c.status == 0)
            EXPECT_NE(run.out.find(c.out), std::string::npos) << run.out;
        else
            EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, *c.err ? "tallion summary: " + path + c.err : std::string());
    }
}
