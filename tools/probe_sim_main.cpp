// tallion-probe-sim: a simulated classification probe on a serial device or a fresh
// pseudo-terminal, for running the station without an instrument.
//
//   tallion-probe-sim [--device PATH | --pty] [--interval MS] [--serial TEXT] [--message TEXT]...
//                     [--stream] [--seed N] [--line SETTINGS]

#include "tools/sim/MeasurementGenerator.h"
#include "tools/sim/SimulatedProbe.h"
#include "tools/sim/VisibleBytes.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>

#include <iostream>
#include <memory>

namespace {

std::string Latin1(const QString& text)
{
    return text.toLatin1().toStdString();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("tallion-probe-sim");

    QCommandLineParser parser;
    parser.setApplicationDescription("Simulated classification probe: polls the station, "
                                     "delivers measurements and takes its commands.");
    parser.addHelpOption();
    const QCommandLineOption deviceOption("device", "Serial device to use.", "PATH");
    const QCommandLineOption ptyOption("pty", "Create a pseudo-terminal and print its slave path (default).");
    const QCommandLineOption intervalOption("interval", "Milliseconds between poll cycles (300).", "MS", "300");
    const QCommandLineOption serialOption("serial", "Probe serial number to report first.", "TEXT");
    const QCommandLineOption messageOption("message", "Message to deliver, type letter first; repeatable.", "TEXT");
    const QCommandLineOption streamOption("stream", "Deliver a steady stream of generated measurements.");
    const QCommandLineOption seedOption("seed", "Seed of the generated measurements.", "N", "1");
    const QCommandLineOption lineOption("line", "Line settings of a device (4800,e,7,2).", "SETTINGS", "4800,e,7,2");
    parser.addOptions(
        {deviceOption, ptyOption, intervalOption, serialOption, messageOption, streamOption, seedOption, lineOption});
    parser.process(app);

    if (parser.isSet(deviceOption) && parser.isSet(ptyOption)) {
        std::cerr << "tallion-probe-sim: --device and --pty exclude each other\n";
        return 2;
    }
    bool ok = false;
    const int interval = parser.value(intervalOption).toInt(&ok);
    if (!ok || interval < 0) {
        std::cerr << "tallion-probe-sim: bad --interval\n";
        return 2;
    }

    std::string error;
    const std::string device = parser.isSet(deviceOption) ? Latin1(parser.value(deviceOption)) : std::string();
    const std::unique_ptr<SimulatedProbe> probe =
        SimulatedDevice::Open<SimulatedProbe>(device, Latin1(parser.value(lineOption)), error);
    if (!probe) {
        std::cerr << "tallion-probe-sim: " << error << "\n";
        return 1;
    }
    if (!probe->SlavePath().empty()) {
        std::cout << "slave: " << probe->SlavePath() << std::endl;
        // Nobody answered: whatever sits unread on the slave side is stale by now.
        QObject::connect(probe.get(), &SimulatedProbe::answerTimedOut, [&probe] { probe->DiscardUnread(); });
    }

    probe->SetPollInterval(interval);
    if (parser.isSet(serialOption))
        probe->ClaimSerialNumber(Latin1(parser.value(serialOption)));
    for (const QString& message : parser.values(messageOption))
        probe->QueueMessage(Latin1(message));

    MeasurementGenerator generator(parser.value(seedOption).toUInt());
    const QDateTime now = QDateTime::currentDateTime();
    generator.SetProbeClock(now.date().year(), now.date().month(), now.date().day(), now.time().hour(),
                            now.time().minute(), now.time().second());
    if (parser.isSet(streamOption))
        probe->SetMessageStream([&generator] { return generator.Next(); });

    QObject::connect(probe.get(), &SimulatedProbe::commandReceived, [&probe](const QString&) {
        const SimulatedProbe::ReceivedCommand command = probe->Commands().back();
        std::cout << "command: " << VisibleBytes(command.text) << (command.bccOk ? "" : " (bad BCC)") << std::endl;
    });
    QObject::connect(probe.get(), &SimulatedProbe::frameAnswered,
                     [](bool ack) { std::cout << "frame: " << (ack ? "ACK" : "not acknowledged") << std::endl; });
    QObject::connect(probe.get(), &SimulatedProbe::unexpectedAnswer, [](const QString& bytes) {
        std::cout << "unexpected: " << VisibleBytes(Latin1(bytes)) << std::endl;
    });

    probe->Start();
    return app.exec();
}
