#include "tools/sim/StationSoak.h"

#include "tools/sim/DeviceLink.h"
#include "tools/sim/PtyPair.h"
#include "tools/sim/SimulatedProbe.h"
#include "tools/sim/SimulatedScale.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <random>

namespace {

std::string Counter(int n)
{
    char text[8];
    std::snprintf(text, sizeof text, "%06d", n % 1000000);
    return text;
}

std::string Measurement(int n)
{
    return "E01" + Counter(n) + "01250530001203000450612ABS140533X";
}

long ResidentKb(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

// Carcass `n`'s weight: 70.0 to 129.9 kg, different for neighbours so that a carcass paired with
// another's weight shows.
double Weight(int n)
{
    return 70.0 + (n * 37 % 600) / 10.0;
}

// The weight as the log keeps it: right-aligned, two decimals.
std::string LoggedWeight(int n)
{
    char text[16];
    std::snprintf(text, sizeof text, "%6.2f", Weight(n));
    return text;
}

// The carcass counter and weight of the log's measurement lines, in file order.
std::vector<std::pair<std::string, std::string>> LoggedCarcasses(const QString& path)
{
    std::vector<std::pair<std::string, std::string>> carcasses;
    QFile log(path);
    if (!log.open(QIODevice::ReadOnly))
        return carcasses;
    const QList<QByteArray> lines = log.readAll().split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QList<QByteArray> fields = lines[i].split('\t');
        if (fields.size() > 36 && fields[2] == "Single Site")
            carcasses.emplace_back(fields[4].toStdString(), fields[36].toStdString());
    }
    return carcasses;
}

// The probe on a fresh pseudo-terminal, reached through the station's device link.
struct Line {
    PtyPair pty;
    SimulatedProbe probe{pty.masterFd()};
    DeviceLink name; // goes first when the line is pulled

    explicit Line(const QString& link)
        : name(link, pty.slavePath())
    {
        probe.SetPollInterval(0);  // as fast as the line allows
        probe.SetMaxRetries(1000); // a measurement is never given up
        // A late answer on a loaded machine must not make the probe send a message twice.
        probe.SetAnswerTimeout(3000);
    }
};

// The scale on its own pseudo-terminal.
struct ScaleLine {
    PtyPair pty;
    SimulatedScale scale{pty.masterFd()};
    DeviceLink name;

    explicit ScaleLine(const QString& link)
        : name(link, pty.slavePath())
    {
        ScaleMessageFormat format;
        format.protocol = ScaleProtocol::Generic;
        scale.SetFormat(format);
    }
};

class Soak {
public:
    explicit Soak(const SoakOptions& options)
        : o_(options)
    {}

    SoakResult Run();

private:
    void Connect(Line& line);
    std::string NextMessage();
    void OnExchangeFinished();
    void Pull();
    void PlugIn(std::deque<std::string> waiting);
    void PullScale();

    SoakOptions o_;
    SoakResult r_;
    QString link_;
    QString log_;
    QProcess station_;
    std::unique_ptr<Line> line_;
    QString scaleLink_;
    std::unique_ptr<ScaleLine> scale_;
    QElapsedTimer scaleBack_; // since the scale was plugged in again
    bool scalePullDue_ = false;
    QEventLoop loop_;
    std::mt19937 random_{7};
    int next_ = 1; // the next carcass to hand to the probe
    bool pullDue_ = false;
    bool silenceDue_ = false;
    bool pulling_ = false;
    int malformedSeen_ = 0; // of probes that were pulled
    int nakedSeen_ = 0;
    int givenUpSeen_ = 0;
};

std::string Soak::NextMessage()
{
    if (next_ > o_.carcasses)
        return {};
    if (o_.weighing) {
        // The probe measures nothing while the scale is away, or before the station has surely
        // opened it again (it tries once a second): a carcass without its weight is refused.
        if (!scale_ || scaleBack_.elapsed() < 2500)
            return {};
        // Weighed just before it is probed: the station takes the weight on the tick before the
        // probe's frame.
        scale_->scale.SendWeight(Weight(next_));
    }
    const int n = next_++;
    auto every = [n](int k) { return k > 0 && n % k == 0; };
    if (every(o_.noiseEvery)) {
        // Line noise without control bytes: a real line's noise may hold anything, but a stray SOH
        // or ETX could form a frame no check can tell from a real one.
        std::string noise(1 + random_() % 12, ' ');
        for (char& c : noise)
            c = static_cast<char>('!' + random_() % 90);
        line_->probe.InjectNoise(noise);
    }
    if (every(o_.malformedEvery))
        line_->probe.QueueRawFrame(std::string{1, 'E', 2} + "0100099901250530"); // no ETX
    if (every(o_.pullEvery))
        pullDue_ = true;
    if (every(o_.silenceEvery))
        silenceDue_ = true;
    if (every(o_.scalePullEvery))
        scalePullDue_ = true;
    if (n == std::min(1000, std::max(1, o_.carcasses / 10)))
        QTimer::singleShot(2000, &loop_, [this] { r_.rssFirstKb = ResidentKb(station_.processId()); });
    return Measurement(n);
}

void Soak::Connect(Line& line)
{
    line.probe.SetMessageStream([this] { return NextMessage(); });
    QObject::connect(
        &line.probe, &SimulatedProbe::exchangeFinished, &loop_, [this] { OnExchangeFinished(); }, Qt::QueuedConnection);
}

void Soak::OnExchangeFinished()
{
    if (pulling_ || !line_)
        return;
    if (pullDue_) {
        pullDue_ = false;
        Pull();
        return;
    }
    if (scalePullDue_) {
        scalePullDue_ = false;
        PullScale();
    }
    if (silenceDue_) {
        silenceDue_ = false;
        ++r_.silences;
        line_->probe.FallSilent(o_.silenceMs);
        return;
    }
    if (next_ > o_.carcasses && line_->probe.PendingMessages() == 0)
        loop_.quit();
}

void Soak::Pull()
{
    // Between two exchanges, so no frame is half delivered: what the probe still holds goes to the
    // probe on the new line.
    ++r_.pulls;
    pulling_ = true;
    std::deque<std::string> waiting = line_->probe.TakeQueuedMessages();
    line_->probe.Stop();
    malformedSeen_ += line_->probe.RawFramesSent();
    nakedSeen_ += line_->probe.RawFramesNaked();
    givenUpSeen_ += line_->probe.MessagesGivenUp();
    line_.reset();
    QTimer::singleShot(o_.pullMs, &loop_, [this, waiting] { PlugIn(waiting); });
}

void Soak::PullScale()
{
    ++r_.scalePulls;
    scale_.reset();
    QTimer::singleShot(o_.pullMs, &loop_, [this] {
        scale_ = std::make_unique<ScaleLine>(scaleLink_);
        scaleBack_.restart();
    });
}

void Soak::PlugIn(std::deque<std::string> waiting)
{
    line_ = std::make_unique<Line>(link_);
    for (const std::string& message : waiting)
        line_->probe.QueueMessage(message);
    Connect(*line_);
    pulling_ = false;
    line_->probe.Start();
}

SoakResult Soak::Run()
{
    QDir().mkpath(o_.folder);
    link_ = o_.folder + "/probe";
    log_ = o_.folder + "/soak.dif";
    QFile::remove(log_);
    {
        QFile settings(o_.folder + "/station.ini");
        if (!settings.open(QIODevice::WriteOnly)) {
            r_.error = "cannot write the settings file: " + settings.errorString();
            return r_;
        }
        settings.write("[Properties]\nLogFilePath=" + log_.toLocal8Bit() + "\n");
        // Generic scale on port 2, weight before probe, the probe's own meat %.
        if (o_.weighing)
            settings.write("WgtScaleModel=6\nWgtPrbOrder=1\nUseWgtInEqu=False\nWeightPortNum=2\n");
    }
    line_ = std::make_unique<Line>(link_);
    QStringList arguments = {"--settings", o_.folder + "/station.ini", "--port", "1=" + link_};
    if (o_.weighing) {
        scaleLink_ = o_.folder + "/scale";
        scale_ = std::make_unique<ScaleLine>(scaleLink_);
        scaleBack_.start();
        arguments << "--port"
                  << "2=" + scaleLink_ << "--weighing";
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_DATA_HOME", o_.folder + "/data");
    station_.setProcessEnvironment(env);
    station_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    station_.start(o_.program, arguments);
    if (!station_.waitForStarted(10000)) {
        r_.error = "the station did not start: " + station_.errorString();
        return r_;
    }
    Connect(*line_);
    line_->probe.Start();

    QElapsedTimer clock;
    clock.start();
    const int timeout = o_.timeoutMs > 0 ? o_.timeoutMs : 20000 + o_.carcasses * 1000;
    QTimer::singleShot(timeout, &loop_, [this] {
        r_.error = "the run did not finish in time";
        loop_.quit();
    });
    loop_.exec();

    // Everything was acknowledged; give the station a moment to write the last lines.
    QElapsedTimer settle;
    settle.start();
    auto counters = LoggedCarcasses(log_);
    while (static_cast<int>(counters.size()) < o_.carcasses && settle.elapsed() < 10000) {
        QEventLoop wait;
        QTimer::singleShot(200, &wait, &QEventLoop::quit);
        wait.exec();
        counters = LoggedCarcasses(log_);
    }
    r_.seconds = static_cast<double>(clock.elapsed()) / 1000.0;
    r_.rssEndKb = ResidentKb(station_.processId());
    if (line_) {
        line_->probe.Stop();
        r_.malformedSent = malformedSeen_ + line_->probe.RawFramesSent();
        r_.malformedNaked = nakedSeen_ + line_->probe.RawFramesNaked();
        r_.givenUp = givenUpSeen_ + line_->probe.MessagesGivenUp();
    }
    station_.terminate();
    if (!station_.waitForFinished(10000))
        station_.kill();
    r_.exitCode = station_.exitStatus() == QProcess::NormalExit ? station_.exitCode() : -1;

    r_.carcassesLogged = static_cast<int>(counters.size());
    r_.onceInOrder = true;
    for (int i = 0; i < o_.carcasses; ++i) {
        const std::string want = Counter(i + 1);
        const bool present = i < static_cast<int>(counters.size());
        if (!present || counters[static_cast<size_t>(i)].first != want) {
            r_.onceInOrder = false;
            r_.problem = "line " + std::to_string(i + 1) + " should be carcass " + want + ", is "
                         + (present ? counters[static_cast<size_t>(i)].first : std::string("missing"));
            break;
        }
        if (o_.weighing && counters[static_cast<size_t>(i)].second != LoggedWeight(i + 1)) {
            r_.onceInOrder = false;
            r_.problem = "carcass " + want + " has the weight \"" + counters[static_cast<size_t>(i)].second
                         + "\", not \"" + LoggedWeight(i + 1) + "\"";
            break;
        }
    }
    if (r_.onceInOrder && static_cast<int>(counters.size()) > o_.carcasses) {
        r_.onceInOrder = false;
        r_.problem = "more lines than carcasses: " + std::to_string(counters.size());
    }
    return r_;
}

} // namespace

SoakResult RunStationSoak(const SoakOptions& options)
{
    return Soak(options).Run();
}
