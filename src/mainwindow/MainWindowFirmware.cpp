// "Update Firmware": the operator picks an Intel HEX file, the probe is told to expect firmware,
// and the download window sends the file.

#include "mainwindow/MainWindowCommandMenus.h"

#include "firmware/FirmwareDownloadWindow.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/OperatorDialogs.h"
#include "resources/StringTable.h"

#include <QFile>

namespace {

// The whole file as bytes, or nullopt with the platform's description of the failure.
std::optional<std::string> ReadHexFile(const QString& path, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = file.errorString();
        return std::nullopt;
    }
    return bytes.toStdString();
}

} // namespace

void RenewFirmware(MainWindow& form)
{
    const auto path =
        form.dialogs().OpenFile(QStringLiteral("Open .Hex file"), QStringLiteral("Intel Hex |*.Hex|"), QString());
    if (!path)
        return;
    // A file that cannot be read is reported and nothing is sent: an empty download would tell
    // the probe to expect firmware and then show 100% for nothing.
    QString error;
    auto fileText = ReadHexFile(*path, error);
    if (!fileText) {
        form.dialogs().Message(*path + QStringLiteral(": ") + error, ResourceText(1270), MessageIcon::Exclamation,
                               MessageButtons::Ok);
        return;
    }
    if (form.core().link().probeLinkAlive())
        form.core().link().QueueProbeCommand("F");
    FirmwareDownloadWindow window(std::move(*fileText), form.core().probePort(), form.core().receiveTick(),
                                  form.dialogs(), &form);
    ProbeLink& link = form.core().link();
    window.probeNotYetTold = [&link] {
        return link.probeLinkAlive() && (link.Queue().count > 0 || link.linkState() == ProbeLink::CommandSent);
    };
    form.SetLinkHeld(true);
    window.exec();
    form.SetLinkHeld(false);
}
