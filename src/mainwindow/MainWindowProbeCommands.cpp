// The "Command-To-Probe" menu: each entry queues its command for the probe's next command poll.
// While the link is down an entry does nothing at all (the queue is reloaded with the start-up
// commands when the link returns anyway); only "Set to" and "Clear Measurement Store" still ask
// their question, and colour calibration queues regardless.

#include "mainwindow/MainWindowCommandMenus.h"

#include "mainwindow/CalibrationWindow.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/OperatorDialogs.h"
#include "probe/ProbeCommands.h"
#include "settings/SettingsStore.h"

#include <QAction>
#include <QDateTime>
#include <functional>

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

void On(MainWindow& form, const QString& name, std::function<void()> command)
{
    if (QAction* action = form.MenuAction(name))
        QObject::connect(action, &QAction::triggered, &form, std::move(command));
}

void QueueIfAlive(MainWindow& form, const std::string& command)
{
    if (form.core().link().probeLinkAlive())
        form.core().link().QueueProbeCommand(command);
}

void SetCounter(MainWindow& form)
{
    const auto answer = form.dialogs().InputBox(QString::fromLatin1(kCounterPrompt), QString::fromLatin1(kCounterTitle),
                                                QString::fromLatin1(kCounterDefault));
    if (!answer)
        return;
    if (const auto command = CounterSetCommand(answer->toLatin1().toStdString()))
        QueueIfAlive(form, *command);
}

void ClearMeasurementStore(MainWindow& form)
{
    const MessageAnswer answer =
        form.dialogs().Message(QString::fromLatin1(kClearStoreQuestion), QString::fromLatin1(kClearStoreTitle),
                               MessageIcon::None, MessageButtons::OkCancel);
    if (answer == MessageAnswer::Ok)
        QueueIfAlive(form, "M0");
}

void ChooseAnalysisType(MainWindow& form, int type)
{
    if (!form.core().link().probeLinkAlive())
        return;
    for (int i = 0; i <= 9; ++i)
        if (QAction* entry = form.MenuAction(QStringLiteral("mnuAnal%1").arg(i)))
            entry->setChecked(false);
    const std::string command = AnalysisTypeCommand(type);
    form.core().link().QueueProbeCommand(command);
    form.settings().WriteSetting("Properties", "AnaType", command);
    if (QAction* chosen = form.MenuAction(QStringLiteral("mnuAnal%1").arg(type)))
        chosen->setChecked(true);
}

void ColourCalibration(MainWindow& form)
{
    CalibrationWindow dialog([&form](const std::string& command) { form.core().link().QueueProbeCommand(command); },
                             &form);
    dialog.exec();
}

} // namespace

void WireProbeCommandMenus(MainWindow& form)
{
    for (const FixedCommand& entry : kFixedCommands) {
        const std::string command = entry.command;
        On(form, QString::fromLatin1(entry.menuName), [&form, command] { QueueIfAlive(form, command); });
    }
    On(form, QStringLiteral("mnuTime"),
       [&form] { QueueIfAlive(form, TimeAndDateCommand(QDateTime::currentDateTime())); });
    On(form, QStringLiteral("mnuCntClr"), [&form] { SetCounter(form); });
    On(form, QStringLiteral("Clear_M_Store"), [&form] { ClearMeasurementStore(form); });
    for (int type = 0; type <= 9; ++type)
        On(form, QStringLiteral("mnuAnal%1").arg(type), [&form, type] { ChooseAnalysisType(form, type); });
    On(form, QStringLiteral("mnuCalibration"), [&form] { ColourCalibration(form); });
    On(form, QStringLiteral("mnuRenewFirm"), [&form] { RenewFirmware(form); });
}
