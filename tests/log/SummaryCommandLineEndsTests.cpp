// `tallion summary` on logs as other programs leave them: lines ended by CR or LF alone, a new
// shift's log holding only its header or nothing yet, and records with no header line.

#include "log/SummaryCommand.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "support/TestPaths.h"
#include <cstdio>
#include <regex>

namespace {

std::string DataFile(const char* name)
{
    QFile file(TestDataFile(QLatin1String(name)));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string("<missing>");
}

std::string Drain(FILE* f)
{
    std::string text(static_cast<size_t>(std::ftell(f)), '\0');
    std::rewind(f);
    text.resize(std::fread(text.data(), 1, text.size(), f));
    std::fclose(f);
    return text;
}

} // namespace

TEST(SummaryCommandLineEnds, AnyLineEndIsReadAndOnlyAMissingHeaderFails)
{
    QTemporaryDir dir;
    const std::string log = DataFile("summary_unweighed.dif");
    const std::string header = log.substr(0, log.find('\n') + 1);
    const std::string summary = DataFile("summary_unweighed.txt");
    const struct {
        const char* name;
        std::string bytes;
        int status;
        std::string out; // after the path; for status 0 the text ends with it
        std::string err; // after "tallion summary: " and the path
    } cases[] = {
        {"lf.dif", std::regex_replace(log, std::regex("\r\n"), "\n"), 0, summary.substr(summary.find(".dif") + 4), ""},
        {"cr.dif", std::regex_replace(log, std::regex("\r\n"), "\r"), 0, summary.substr(summary.find(".dif") + 4), ""},
        {"header.dif", header, 0, "\r\nTotal:           0\r\n\r\n" + std::string(75, '*') + "\r\n", ""},
        {"records.dif", log.substr(header.size()), 1, "", " has no header line, so it is not a result log\n"},
        {"empty.dif", "", 0, "\r\nTotal:           0\r\n\r\n" + std::string(75, '*') + "\r\n", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.filePath(QString::fromLatin1(c.name)).toStdString();
        QFile file(QString::fromStdString(path));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.bytes.data(), static_cast<qint64>(c.bytes.size()));
        file.close();
        FILE* out = std::tmpfile();
        FILE* err = std::tmpfile();
        EXPECT_EQ(RunSummaryCommand(std::vector<std::string>{"summary", path}, out, err), c.status);
        const std::string printed = Drain(out);
        if (c.status == 0)
            EXPECT_TRUE(printed.ends_with(c.out) && printed.find(path) != std::string::npos) << printed;
        else
            EXPECT_EQ(printed, "");
        EXPECT_EQ(Drain(err), c.err.empty() ? "" : "tallion summary: " + path + c.err);
    }
}
