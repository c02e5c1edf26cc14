// tallion-scale-sim: a simulated weight scale on a serial device or a fresh pseudo-terminal, for
// running the station's weighing without an instrument.
//
//   tallion-scale-sim [--device PATH | --pty] [--line SETTINGS] [--protocol NAME]
//                     [--stx] [--siso] [--checksum] [--stable] [--header-code]
//                     [--header TEXT] [--start N] [--comma] [--every MS] [--seed N] [WEIGHT]...
//
// NAME is toledo (default), wedderburn, generic, ev2000 or tu9000. --stx, --siso and --checksum
// shape Mettler-Toledo messages; --stable and --header-code Wedderburn ones; --header and
// --start the header scales' (start position 2 for generic and ev2000, 20 for tu9000 unless
// given). --comma writes the weight with a decimal comma.
//
// Listed weights (kg) are sent in turn, one every MS milliseconds (default 3000), after which
// the scale keeps the line open and quiet. Without a list it sends plausible carcass weights
// (70 to 130 kg) for ever. A weight typed on standard input, one per line, is sent at once;
// with --every 0 that is the only way. Example, to give the station with --port 2=...:
//
//   tallion-scale-sim --pty --protocol generic --every 2000

#include "tools/sim/ScaleMessages.h"
#include "tools/sim/SimulatedScale.h"
#include "tools/sim/VisibleBytes.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <iostream>
#include <memory>
#include <unistd.h>
#include <vector>

namespace {

std::string Latin1(const QString& text)
{
    return text.toLatin1().toStdString();
}

// A weight as a person types it: "85.4" or "85,4".
bool WeightFromText(QString text, double& kg)
{
    bool ok = false;
    kg = text.trimmed().replace(',', '.').toDouble(&ok);
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("tallion-scale-sim");

    QCommandLineParser parser;
    parser.setApplicationDescription("Simulated weight scale: sends weight messages in the protocol "
                                     "of one of the station's scale models.");
    parser.addHelpOption();
    const QCommandLineOption deviceOption("device", "Serial device to use.", "PATH");
    const QCommandLineOption ptyOption("pty", "Create a pseudo-terminal and print its slave path (default).");
    const QCommandLineOption lineOption("line", "Line settings of a device (9600,e,7,1 or 4800,e,7,2 by protocol).",
                                        "SETTINGS");
    const QCommandLineOption protocolOption("protocol", "toledo, wedderburn, generic, ev2000 or tu9000.", "NAME",
                                            "toledo");
    const QCommandLineOption stxOption("stx", "Mettler-Toledo: STX opens the message.");
    const QCommandLineOption sisoOption("siso", "Mettler-Toledo: the weight between SO and SI.");
    const QCommandLineOption checksumOption("checksum", "Mettler-Toledo: a checksum byte after the CR.");
    const QCommandLineOption stableOption("stable", "Wedderburn: a stable sign opens the message.");
    const QCommandLineOption headerCodeOption("header-code", "Wedderburn: header code \"0\" before the weight.");
    const QCommandLineOption headerOption("header", "Header scales: the header text ($).", "TEXT", "$");
    const QCommandLineOption startOption("start", "Header scales: the weight's start position.", "N");
    const QCommandLineOption commaOption("comma", "Write the weight with a decimal comma.");
    const QCommandLineOption everyOption("every", "Milliseconds between weighings (3000); 0: only typed weights.", "MS",
                                         "3000");
    const QCommandLineOption seedOption("seed", "Seed of the generated weights.", "N", "1");
    parser.addOptions({deviceOption, ptyOption, lineOption, protocolOption, stxOption, sisoOption, checksumOption,
                       stableOption, headerCodeOption, headerOption, startOption, commaOption, everyOption,
                       seedOption});
    parser.addPositionalArgument("weights", "Weights in kg to send in turn.", "[WEIGHT...]");
    parser.process(app);

    auto fail = [](const std::string& what) {
        std::cerr << "tallion-scale-sim: " << what << "\n";
        return 2;
    };
    if (parser.isSet(deviceOption) && parser.isSet(ptyOption))
        return fail("--device and --pty exclude each other");

    ScaleMessageFormat format;
    if (!ScaleProtocolFromName(Latin1(parser.value(protocolOption)), format.protocol))
        return fail("unknown --protocol " + Latin1(parser.value(protocolOption)));
    format.stx = parser.isSet(stxOption);
    format.siso = parser.isSet(sisoOption);
    format.checksum = parser.isSet(checksumOption);
    format.stableCode = parser.isSet(stableOption);
    format.headerCode = parser.isSet(headerCodeOption);
    format.header = Latin1(parser.value(headerOption));
    format.decimalComma = parser.isSet(commaOption);
    format.startPosition = DefaultStartPosition(format.protocol);
    bool ok = true;
    if (parser.isSet(startOption))
        format.startPosition = parser.value(startOption).toInt(&ok);
    if (!ok || format.startPosition < 0)
        return fail("bad --start");
    const int every = parser.value(everyOption).toInt(&ok);
    if (!ok || every < 0)
        return fail("bad --every");
    std::vector<double> listed;
    for (const QString& text : parser.positionalArguments()) {
        double kg = 0;
        if (!WeightFromText(text, kg))
            return fail("not a weight: " + Latin1(text));
        listed.push_back(kg);
    }

    const bool serialScale =
        format.protocol == ScaleProtocol::MettlerToledo || format.protocol == ScaleProtocol::Wedderburn;
    const std::string line =
        parser.isSet(lineOption) ? Latin1(parser.value(lineOption)) : (serialScale ? "9600,e,7,1" : "4800,e,7,2");
    std::string error;
    const std::string device = parser.isSet(deviceOption) ? Latin1(parser.value(deviceOption)) : std::string();
    const std::unique_ptr<SimulatedScale> scale = SimulatedDevice::Open<SimulatedScale>(device, line, error);
    if (!scale) {
        std::cerr << "tallion-scale-sim: " << error << "\n";
        return 1;
    }
    if (!scale->SlavePath().empty())
        std::cout << "slave: " << scale->SlavePath() << std::endl;
    scale->SetFormat(format);
    QObject::connect(scale.get(), &SimulatedScale::messageSent,
                     [](const QString& bytes) { std::cout << "sent: " << VisibleBytes(Latin1(bytes)) << std::endl; });

    CarcassWeights generated(parser.value(seedOption).toUInt());
    size_t nextListed = 0;
    if (every > 0) {
        scale->Start(every, [&](double& kg) {
            if (listed.empty()) {
                kg = generated.Next();
                return true;
            }
            if (nextListed >= listed.size())
                return false;
            kg = listed[nextListed++];
            return true;
        });
    }

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[256];
        const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer - 1);
        if (n <= 0) {
            input.setEnabled(false); // standard input closed: the pace goes on alone
            return;
        }
        for (const QString& text : QString::fromLatin1(buffer, n).split('\n', Qt::SkipEmptyParts)) {
            double kg = 0;
            if (WeightFromText(text, kg))
                scale->SendWeight(kg);
            else
                std::cerr << "tallion-scale-sim: not a weight: " << Latin1(text.trimmed()) << "\n";
        }
    });

    return app.exec();
}
