// The "Command-To-Probe" menu: each entry queues its command for the probe's next command poll.
// While the link is down an entry does nothing at all (the queue is reloaded with the start-up
// commands when the link returns anyway); only "Set to" and "Clear Measurement Store" still ask
// their question, and colour calibration queues regardless.

#include "probecommands/ProbeCommandMenus.h"

#include "probe/ProbeCommands.h"
#include "probecommands/CalibrationWindow.h"
#include "settings/SettingsStore.h"
#include "station/OperatorQuestions.h"
#include "station/StationCore.h"

#include <QAction>
#include <QDateTime>

namespace {

// Entries that send a fixed text.
struct FixedCommand {
    const char* menuName;
    const char* command;
};
// clang-format off
constexpr FixedCommand kFixedCommands[] = {
    {"mnuDT", "B"},
    {"mnuCntInc", "5"},
    {"mnuCntDec", "4"},
    {"mnuRZ2on", "I0"},
    {"mnuRZ4on", "I1"},
    {"mnuRZ4on2", "K0"},
    {"mnuRZ7on", "K1"},
    {"mnuQualityOff", "A0"},
    {"mnuQualityOn", "A1"},
    {"mnuL00", "L00"},
    {"mnuL01", "L01"},
    {"mnuL02", "L02"},
    {"mnuL03", "L03"},
    {"mnuL04", "L04"},
    {"mnuL05", "L05"},
    {"mnul06", "L06"},
    {"mnul07", "L07"},
    {"mnul08", "L08"},
    {"mnuClassSumDump", "D"},
    {"Retrieve_M_Store", "M1"},
    {"mnuProbeHealth", "U"},
    {"mnuServiceInfo", "N"},
};
// clang-format on

} // namespace

ProbeCommandMenus::ProbeCommandMenus(StationCore& station, SettingsStore& settings, OperatorQuestions& questions,
                                     const MenuLookup& menus, QWidget* dialogParent)
    : QObject(dialogParent)
    , station_(station)
    , settings_(settings)
    , questions_(questions)
    , menus_(menus)
    , dialogParent_(dialogParent)
{
    for (const FixedCommand& entry : kFixedCommands) {
        const std::string command = entry.command;
        On(menus, QString::fromLatin1(entry.menuName), [this, command] { QueueIfAlive(command); });
    }
    On(menus, QStringLiteral("mnuTime"), [this] { QueueIfAlive(TimeAndDateCommand(QDateTime::currentDateTime())); });
    On(menus, QStringLiteral("mnuCntClr"), [this] { SetCounter(); });
    On(menus, QStringLiteral("Clear_M_Store"), [this] { ClearMeasurementStore(); });
    for (int type = 0; type <= 9; ++type)
        On(menus, QStringLiteral("mnuAnal%1").arg(type), [this, type] { ChooseAnalysisType(type); });
    On(menus, QStringLiteral("mnuCalibration"), [this] { ColourCalibration(); });
}

void ProbeCommandMenus::On(const MenuLookup& menus, const QString& name, std::function<void()> command)
{
    if (QAction* action = menus(name))
        connect(action, &QAction::triggered, this, std::move(command));
}

void ProbeCommandMenus::QueueIfAlive(const std::string& command)
{
    station_.tellProbe(command);
}

void ProbeCommandMenus::SetCounter()
{
    const auto answer = questions_.InputBox(QString::fromLatin1(kCounterPrompt), QString::fromLatin1(kCounterTitle),
                                            QString::fromLatin1(kCounterDefault));
    if (!answer)
        return;
    if (const auto command = CounterSetCommand(answer->toLatin1().toStdString()))
        QueueIfAlive(*command);
}

void ProbeCommandMenus::ClearMeasurementStore()
{
    const MessageAnswer answer =
        questions_.Message(QString::fromLatin1(kClearStoreQuestion), QString::fromLatin1(kClearStoreTitle),
                           MessageIcon::None, MessageButtons::OkCancelSafe);
    if (answer == MessageAnswer::Ok)
        QueueIfAlive("M0");
}

void ProbeCommandMenus::ChooseAnalysisType(int type)
{
    if (!station_.link().probeLinkAlive())
        return;
    for (int i = 0; i <= 9; ++i)
        if (QAction* entry = menus_(QStringLiteral("mnuAnal%1").arg(i)))
            entry->setChecked(false);
    const std::string command = AnalysisTypeCommand(type);
    station_.queueProbeCommand(command);
    settings_.WriteSetting("Properties", "AnaType", command);
    if (QAction* chosen = menus_(QStringLiteral("mnuAnal%1").arg(type)))
        chosen->setChecked(true);
}

void ProbeCommandMenus::ColourCalibration()
{
    CalibrationWindow dialog([this](const std::string& command) { station_.queueProbeCommand(command); },
                             dialogParent_);
    dialog.exec();
}
