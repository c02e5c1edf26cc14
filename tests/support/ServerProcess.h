#pragma once
// A server a test starts as its own child, in a temporary folder of its own: forked with its
// output going to a file, waited for until it answers, stopped with a signal and a grace time.
// The child dies with the test process if that crashes.

#include <QByteArray>
#include <QProcess>
#include <QTemporaryDir>
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

class ServerProcess {
public:
    struct User {
        uid_t uid;
        gid_t gid;
    };
    enum class Wait { Answers, Ended, TimedOut };

    bool FolderValid() const { return dir_.isValid(); }
    QString Folder() const { return dir_.path(); }
    QString Path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }
    pid_t Pid() const { return pid_; }
    // The last 2,000 bytes of the file `name` in the folder, for failure messages.
    std::string Tail(const char* name) const;

    // Runs `program` with `arguments` (the first is its name), its output going to `output`,
    // opened with `outputFlags` (O_APPEND or O_TRUNC). With `user`, it runs as that user.
    bool Spawn(const QByteArray& program, const std::vector<QByteArray>& arguments, const QByteArray& output,
               int outputFlags, std::optional<User> user = std::nullopt);
    // Polls `answers` until it holds, the server ends (it is then forgotten) or `limit` passes.
    Wait AwaitAnswer(std::chrono::seconds limit, const std::function<bool()>& answers);
    // Sends `signal` (after SIGCONT, should it be frozen) and waits up to `grace` before killing it.
    void Stop(int signal, std::chrono::seconds grace);

    // Waits up to `ms` for a started helper command; false, with `command` and what it printed in
    // `why` (when given), unless it ended well.
    static bool Finish(QProcess& process, const QStringList& command, int ms, std::string* why);

private:
    QTemporaryDir dir_;
    pid_t pid_ = -1;
};
