// The scale port and the current carcass window: showing the window sets up the port
// and the parser options of the scale model in use.

#include "mainwindow/MainWindow.h"

#include "carcass/CurrentCarcassWindow.h"
#include "mainwindow/OperatorDialogs.h"
#include "mainwindow/StationResults.h"
#include "resources/StringTable.h"
#include "settings/SettingsStore.h"
#include "weighing/ScaleModels.h"

#include <QAction>

namespace {

const std::string kSection = "Properties";

QString Latin1(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

void MainWindow::ShowCurrentCarcassWindow()
{
    CurrentCarcassWindow& window = results_->carcassWindow();
    window.SetWeightBox(false, WeightBoxLook::ActiveBorder);
    const WeightSource source = state_.weightSource;
    TickWeightEntry(SourceMenuEntry(source));
    if (source == WeightSource::ManualInput) {
        window.SetWeighingFrames(true, true);
        window.SetWeightBox(true, WeightBoxLook::WindowBackground);
    } else if (HasScaleParser(source)) {
        window.SetWeighingFrames(true, false);
        SetUpScalePort(source, true);
    } else {
        window.SetWeighingFrames(false, false);
    }
    ShowCurrentCarcassWindowPlaced(window);
    window.raise();
    window.activateWindow();
    if (source == WeightSource::ManualInput)
        window.EnableWeightInput();
}

void MainWindow::SetUpScalePort(WeightSource model, bool ask)
{
    const std::string portText = settings_.ReadSetting(kSection, "WeightPortNum", "2");
    const std::string lineSettings =
        settings_.ReadSetting(kSection, "WeightPortSetting", DefaultWeightPortSetting(model));
    const int port = SettingsStore::PortNumberFromText(portText, 2);

    QString problem;
    if (port < 1 || port > 16) {
        problem =
            QStringLiteral("The stored weight scale port \"%1\" is not a port from 1 to 16.").arg(Latin1(portText));
    } else {
        // A port already open on the same number stays open; its settings are applied afresh.
        if (core_->scalePort().CommPort() != port) {
            core_->scalePortWatch().Close();
            if (!core_->scalePort().SetCommPort(port))
                problem = Latin1(core_->scalePort().LastError());
        }
        if (problem.isEmpty() && !core_->scalePort().SetSettings(lineSettings)) {
            problem =
                QStringLiteral("The stored weight scale port settings \"%1\" are not valid.").arg(Latin1(lineSettings));
        }
        SetStatusPanel(3, Latin1(SettingsStore::PortNumberText(port)));
        SetStatusPanelTip(3, ResourceText(1153));
        if (!problem.isEmpty()) {
            // Nothing to keep trying with until the settings are mended.
            core_->scalePortWatch().Close();
        } else if (!core_->scalePortWatch().Open()) {
            // Tried again every second: a scale switched on later comes up by itself.
            problem = Latin1(core_->scalePort().LastError());
        }
    }
    if (!problem.isEmpty()) {
        const QString text =
            ResourceText(1126) + QStringLiteral(".\r\n") + ResourceText(1105) + QStringLiteral(".\r\n") + problem;
        if (ask)
            dialogs_.Message(text, QStringLiteral("Tallion"), MessageIcon::Exclamation, MessageButtons::Ok);
        else
            dialogs_.Notify(text, QStringLiteral("Tallion"), MessageIcon::Exclamation);
    }
    ReadScaleOptions(
        model,
        [this](const std::string& key, const std::string& fallback) {
            // Scale options are characters of the scale's one-byte messages.
            return SettingsStore::BytesFromText(settings_.ReadSetting(kSection, key, fallback));
        },
        scaleOptions);
    if (port >= 1 && port <= 16)
        ShowScalePort();
}

void MainWindow::ShowScalePort()
{
    // Only while the station wants the port: No Weight and Manual Input leave panel 3 empty.
    if (!core_->scalePortWatch().Wanted())
        return;
    const QString port = Latin1(SettingsStore::PortNumberText(core_->scalePort().CommPort()));
    if (!core_->scalePortWatch().Lost()) {
        SetStatusPanel(3, port);
        SetStatusPanelTip(3, ResourceText(1153));
        return;
    }
    SetStatusPanel(3, port + QStringLiteral(" (no device)"));
    SetStatusPanelTip(3, QStringLiteral("%1: %2\nTrying to open it again every second.")
                             .arg(ResourceText(1153), core_->scalePortWatch().LostReason()));
}
