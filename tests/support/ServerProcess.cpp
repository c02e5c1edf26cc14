#include "support/ServerProcess.h"

#include <QFile>
#include <csignal>
#include <fcntl.h>
#include <grp.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

bool ServerProcess::Spawn(const QByteArray& program, const std::vector<QByteArray>& arguments, const QByteArray& output,
                          int outputFlags, std::optional<User> user)
{
    // Everything the child needs is ready before fork: it only changes user, redirects and starts.
    std::vector<char*> argv;
    for (const QByteArray& argument : arguments)
        argv.push_back(const_cast<char*>(argument.constData()));
    argv.push_back(nullptr);
    const pid_t parent = ::getpid();
    const pid_t child = ::fork();
    if (child < 0)
        return false;
    if (child == 0) {
        if (user && (::setgroups(0, nullptr) != 0 || ::setgid(user->gid) != 0 || ::setuid(user->uid) != 0))
            ::_exit(126);
        // After any change of user, which clears it: the server dies with the test.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent)
            ::_exit(1);
        const int out = ::open(output.constData(), O_WRONLY | O_CREAT | outputFlags, 0600);
        if (out >= 0) {
            ::dup2(out, 1);
            ::dup2(out, 2);
        }
        ::execv(program.constData(), argv.data());
        ::_exit(127);
    }
    pid_ = child;
    return true;
}

ServerProcess::Wait ServerProcess::AwaitAnswer(std::chrono::seconds limit, const std::function<bool()>& answers)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return Wait::Ended;
        }
        if (answers())
            return Wait::Answers;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return Wait::TimedOut;
}

void ServerProcess::Stop(int signal, std::chrono::seconds grace)
{
    if (pid_ <= 0)
        return;
    ::kill(pid_, SIGCONT);
    ::kill(pid_, signal);
    const auto deadline = std::chrono::steady_clock::now() + grace;
    int status = 0;
    while (::waitpid(pid_, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    pid_ = -1;
}

bool ServerProcess::Finish(QProcess& process, const QStringList& command, int ms, std::string* why)
{
    const bool finished = process.waitForFinished(ms);
    if (finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
        return true;
    if (why)
        *why = command.join(QLatin1Char(' ')).toStdString() + ": " + process.readAll().trimmed().toStdString();
    if (!finished)
        process.kill();
    return false;
}

std::string ServerProcess::Tail(const char* name) const
{
    QFile file(Path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll().right(2000).toStdString() : std::string();
}
