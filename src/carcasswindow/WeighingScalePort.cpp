// The scale port and the current carcass window: showing the window sets up the port and the
// parser options of the scale model in use.

#include "carcasswindow/WeighingControls.h"
#include "resources/StatusPanels.h"

#include "carcasswindow/CurrentCarcassWindow.h"
#include "resources/AppTitle.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"
#include "settings/SettingsStore.h"
#include "station/OperatorQuestions.h"
#include "station/StationCore.h"
#include "weighing/ScaleModels.h"

namespace {

QString Latin1(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// What the operator reads under "Weight scale can not communicate" and "Check serial port
// configuration".
QString FaultText(const ScalePortSetUp& setUp)
{
    switch (setUp.fault) {
    case ScalePortFault::PortNumberNotValid:
        return QStringLiteral("The stored weight scale port \"%1\" is not a port from 1 to 16.")
            .arg(Latin1(setUp.stored));
    case ScalePortFault::LineSettingsNotValid:
        return QStringLiteral("The stored weight scale port settings \"%1\" are not valid.").arg(Latin1(setUp.stored));
    case ScalePortFault::PortNotSelected:
    case ScalePortFault::PortNotOpened: return Latin1(setUp.reason);
    case ScalePortFault::None: break;
    }
    return QString();
}

} // namespace

void WeighingControls::ShowCurrentCarcassWindow()
{
    CurrentCarcassWindow& window = links_.carcassWindow();
    window.SetWeightBox(false, WeightBoxLook::ActiveBorder);
    const WeightSource source = links_.core.weighingState().weightSource;
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

void WeighingControls::SetUpScalePort(WeightSource model, bool ask)
{
    const ScalePortSetUp setUp = links_.core.SetUpScalePort(model, links_.settings);
    if (setUp.portChosen()) {
        links_.setStatusPanel(StatusPanel::ScalePort, Latin1(SettingsStore::PortNumberText(setUp.port)));
        links_.setStatusPanelTip(StatusPanel::ScalePort, ResourceText(StringId::ScalePortTip));
    }
    if (setUp.fault != ScalePortFault::None) {
        const QString text = ResourceText(StringId::ScaleSilent) + QStringLiteral(".\r\n")
                             + ResourceText(StringId::CheckSerialPort) + QStringLiteral(".\r\n") + FaultText(setUp);
        if (ask)
            links_.questions.Message(text, kAppTitle, MessageIcon::Exclamation, MessageButtons::Ok);
        else
            links_.questions.Notify(text, kAppTitle, MessageIcon::Exclamation);
    }
    if (setUp.portChosen())
        ShowScalePort();
}

void WeighingControls::ShowScalePort()
{
    // Only while the station wants the port: No Weight and Manual Input leave panel 3 empty.
    const PortWatch& watch = links_.core.scalePortWatch();
    if (!watch.Wanted())
        return;
    const QString port = Latin1(SettingsStore::PortNumberText(links_.core.scalePort().CommPort()));
    if (!watch.Lost()) {
        links_.setStatusPanel(StatusPanel::ScalePort, port);
        links_.setStatusPanelTip(StatusPanel::ScalePort, ResourceText(StringId::ScalePortTip));
        return;
    }
    links_.setStatusPanel(StatusPanel::ScalePort, port + QStringLiteral(" (no device)"));
    links_.setStatusPanelTip(StatusPanel::ScalePort,
                             QStringLiteral("%1: %2\nTrying to open it again every second.")
                                 .arg(ResourceText(StringId::ScalePortTip), watch.LostReason()));
}
