// `tallion summary` on what a command line may name: a file whose name is not UTF-8 is opened as
// given, and a device, FIFO or folder is refused at once instead of being read forever.

#include "support/StationProcess.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "support/TestPaths.h"
#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

std::string Bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

struct SummaryRun {
    int exitCode = -1; // -1: still running after ten seconds (then killed)
    std::string out;
    std::string err;
};

// Runs the program in `folder` with `arguments` passed as raw bytes.
SummaryRun Tallion(const std::string& folder, const std::vector<std::string>& arguments)
{
    const std::string outPath = folder + "/.out";
    const std::string errPath = folder + "/.err";
    const std::string program = QFile::encodeName(StationProcess::ProgramPath()).toStdString();
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::chdir(folder.c_str()) != 0)
            std::_Exit(120);
        ::dup2(::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 1);
        ::dup2(::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 2);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        std::_Exit(121);
    }
    int status = 0;
    int exitCode = -1;
    for (int i = 0; i < 1000 && exitCode == -1; ++i) {
        if (::waitpid(pid, &status, WNOHANG) == pid)
            exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (exitCode == -1 && ::kill(pid, SIGKILL) == 0)
        ::waitpid(pid, &status, 0);
    return {exitCode, Bytes(outPath), Bytes(errPath)};
}

class SummaryFileKinds : public ::testing::Test {
protected:
    QTemporaryDir dir;
    const std::string folder = QFile::encodeName(dir.path()).toStdString();
};

} // namespace

TEST_F(SummaryFileKinds, ANameThatIsNotUtf8IsOpenedAsGiven)
{
    const std::string name = "caf\xE9.dif"; // Latin-1 bytes, not UTF-8
    std::ofstream(folder + "/" + name, std::ios::binary)
        << Bytes(TestDataFile(QStringLiteral("summary_unweighed.dif")).toStdString());
    std::string expected = Bytes(TestDataFile(QStringLiteral("summary_unweighed.txt")).toStdString());
    expected.replace(expected.find("summary_unweighed.dif"), 21, name);

    const SummaryRun run = Tallion(folder, {"summary", name});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, expected);
}

TEST_F(SummaryFileKinds, DevicesFifosAndFoldersAreRefusedAtOnce)
{
    ASSERT_EQ(::mkfifo((folder + "/pipe.dif").c_str(), 0600), 0);
    ASSERT_EQ(::mkdir((folder + "/folder.dif").c_str(), 0700), 0);
    for (const std::string file : {"/dev/zero", "/dev/full", "pipe.dif", "folder.dif"}) {
        SCOPED_TRACE(file);
        const SummaryRun run = Tallion(folder, {"summary", file});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "tallion summary: cannot read " + file + ": not a regular file\n");
    }
}

TEST_F(SummaryFileKinds, StationFileNamesThatAreNotUtf8AreRefusedRatherThanChanged)
{
    for (const std::vector<std::string>& arguments : {std::vector<std::string>{"--settings", "caf\xE9.ini"},
                                                      std::vector<std::string>{"--port", "1=/dev/tty\xE9"}}) {
        SCOPED_TRACE(arguments[0]);
        const SummaryRun run = Tallion(folder, arguments);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_NE(run.err.find("is not UTF-8 text, so the file it names cannot be opened"), std::string::npos)
            << run.err;
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({".err", ".out"}))
        << "no settings file made";
}
