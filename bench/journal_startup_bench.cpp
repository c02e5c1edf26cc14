// Start-up of the station core with a journal of received messages that holds unfinished
// messages, as a station killed mid-shift leaves it: the time to bring them back (each dispatched,
// its record compared with the log and written) against an empty journal.
//   Usage: journal_startup_bench [unsettled messages (1000)]

#include "station/ReceivedJournal.h"
#include "station/StationCore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {

// A core on ports that hold nothing, logging to `log`; milliseconds taken to open the journal.
double OpenMs(const std::string& journal, const QString& log)
{
    class NoPort : public SerialPort {
    public:
        bool SetCommPort(int) override { return true; }
        int CommPort() const override { return 1; }
        bool SetSettings(const std::string&) override { return true; }
        std::string Settings() const override { return {}; }
        bool SetHandshaking(int) override { return true; }
        int Handshaking() const override { return 0; }
        bool SetPortOpen(bool) override { return true; }
        bool PortOpen() const override { return false; }
        int InBufferCount() override { return 0; }
        void ClearInBuffer() override {}
        std::string Input() override { return {}; }
        bool Output(const std::string&) override { return true; }
        std::string LastError() const override { return {}; }
    };
    StationCore core(std::make_unique<NoPort>(), std::make_unique<NoPort>());
    core.parts().resultLog.SetLogFilePath(QFile::encodeName(log).toStdString());
    QElapsedTimer timer;
    timer.start();
    core.OpenReceivedJournal(journal);
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int unsettled = argc > 1 ? std::atoi(argv[1]) : 1000;
    QTemporaryDir dir;
    const std::string empty = dir.filePath("empty.journal").toStdString();
    const std::string full = dir.filePath("full.journal").toStdString();
    {
        ReceivedJournal journal;
        ReceivedJournal::Contents contents;
        if (journal.Open(full, contents) != ReceivedJournal::Opening::Opened) {
            std::printf("cannot write %s\n", full.c_str());
            return 1;
        }
        for (int i = 0; i < unsettled; ++i) {
            const std::string counter = std::to_string(100000 + i);
            journal.AppendMessage({static_cast<std::uint64_t>(i + 1), 1765350000000LL + i * 1000LL,
                                   "E01" + counter + "01250530001203000450612ABS140533X"});
        }
    }
    const double without = OpenMs(empty, dir.filePath("a.dif"));
    const double with = OpenMs(full, dir.filePath("b.dif"));
    QFile log(dir.filePath("b.dif"));
    log.open(QIODevice::ReadOnly);
    std::printf("start-up: empty journal %.1f ms, %d unsettled messages %.1f ms (%.1f ms more; target under 1000 ms "
                "more); %lld log lines written\n",
                without, unsettled, with, with - without, static_cast<long long>(log.readAll().count('\n')));
    return 0;
}
