// The station program: reads the command line, builds the main window on real serial ports and
// the real dialogs, and runs until the operator exits or a signal ends it.

#include "app/CommandLine.h"
#include "app/DemoRig.h"
#include "app/ShutDownSignals.h"
#include "carcasswindow/WeighingControls.h"
#include "chartviews/SummaryChartFile.h"
#include "database/DatabaseCommands.h"
#include "log/SummaryCommand.h"
#include "mainwindow/MainWindow.h"
#include "probe/SerialPortQt.h"
#include "resources/AppTitle.h"
#include "settings/PortDeviceMap.h"
#include "settings/SettingsFileCheck.h"
#include "settings/SettingsStore.h"
#include "widgets/QtOperatorDialogs.h"

#include <QApplication>
#include <cstdio>
#include <memory>

int main(int argc, char** argv)
{
    // The summary and database commands print and end before any display is needed.
    if (IsDbCommand(argc, argv))
        return RunDbCommand(ArgumentsOf(argc, argv).mid(1), stdout, stderr);
    if (IsSummaryCommand(argc, argv) && IsDbSummaryCommand(ArgumentsOf(argc, argv).mid(1)))
        return RunDbSummaryCommand(ArgumentsOf(argc, argv).mid(1), stdout, stderr);
    if (IsSummaryCommand(argc, argv)) {
        const SummaryChartWriter charts{[](const std::string& path) { return ChartFileFormatOf(path).has_value(); },
                                        WriteSummaryChartFile};
        return RunSummaryCommand(std::vector<std::string>(argv + 1, argv + argc), stdout, stderr, charts);
    }

    // Answered before any display is needed, so they work on a console or over ssh.
    CommandLineOptions options = ParseCommandLine(ArgumentsOf(argc, argv));
    if (options.helpRequested) {
        std::fputs(qPrintable(CommandLineUsage()), stdout);
        return 0;
    }
    if (options.versionRequested) {
        std::printf("%s\n", qPrintable(VersionText()));
        return 0;
    }
    if (options.error.isEmpty()) {
        if (const auto problem = NonTextArgument(argc, argv))
            options.error = *problem;
    }
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "tallion: %s\n%s", qPrintable(options.error), qPrintable(CommandLineUsage()));
        return 2;
    }

    // The station rewrites its settings file: a file that is not one is never touched. Checked
    // before the display too, so that the refusal reaches a console.
    if (!options.demo) {
        if (const auto problem = SettingsFileProblem(SettingsStore(options.settingsPath).FilePath())) {
            std::fprintf(stderr, "tallion: settings file refused: %s\n", qPrintable(*problem));
            return 1;
        }
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(kAppTitle);
    QApplication::setOrganizationName(kAppTitle);

    std::unique_ptr<DemoRig> demo;
    if (options.demo) {
        demo = std::make_unique<DemoRig>(options.weighing);
        if (!demo->Error().isEmpty()) {
            std::fprintf(stderr, "tallion: the demo cannot start: %s\n", qPrintable(demo->Error()));
            return 1;
        }
        options.settingsPath = demo->SettingsPath();
        options.ports.emplace_back(1, demo->ProbeDevicePath());
        options.ports.emplace_back(2, demo->ScaleDevicePath());
        std::fprintf(stdout, "Demo: simulated probe on %s, scale on %s, log file %s\n",
                     qPrintable(demo->ProbeDevicePath()), qPrintable(demo->ScaleDevicePath()),
                     qPrintable(demo->LogPath()));
        std::fflush(stdout);
    }

    SettingsStore settings(options.settingsPath);
    PortDeviceMap devices(settings);
    for (const auto& [port, path] : options.ports)
        devices.Override(port, path);
    auto deviceFor = [&devices](int port) { return devices.DeviceFor(port); };

    QtOperatorDialogs dialogs;
    settings.SetNotices(&dialogs);
    MainWindow form(settings, dialogs, std::make_unique<SerialPortQt>(deviceFor),
                    std::make_unique<SerialPortQt>(deviceFor), &devices);
    ShutDownSignals shutDownSignals;
    QObject::connect(&shutDownSignals, &ShutDownSignals::requested, &form, [&form] {
        form.ShutDownBySignal();
        // Also ends a question that may be open on screen.
        QCoreApplication::exit(0);
    });
    form.StartUp(options.weighing);
    if (demo) {
        // With weighing the pairing is what there is to watch: its large window opens at once.
        if (options.weighing)
            form.weighing().ShowCurrentCarcassWindow();
        demo->Start();
    }
    return app.exec();
}
