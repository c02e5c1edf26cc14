#include "firmware/FirmwareUpdate.h"

#include "firmware/FirmwareDownloadWindow.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"
#include "station/StationCore.h"
#include "widgets/OperatorDialogs.h"

#include <QAction>
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

FirmwareUpdate::FirmwareUpdate(StationCore& core, OperatorDialogs& dialogs, const MenuLookup& menus,
                               QWidget* dialogParent)
    : QObject(dialogParent)
    , core_(core)
    , dialogs_(dialogs)
    , dialogParent_(dialogParent)
{
    if (QAction* entry = menus(QStringLiteral("mnuRenewFirm")))
        connect(entry, &QAction::triggered, this, &FirmwareUpdate::Run);
}

void FirmwareUpdate::Run()
{
    const auto path =
        dialogs_.OpenFile(QStringLiteral("Open .Hex file"), QStringLiteral("Intel Hex |*.Hex|"), QString());
    if (!path)
        return;
    // A file that cannot be read is reported and nothing is sent: an empty download would tell
    // the probe to expect firmware and then show 100% for nothing.
    QString error;
    auto fileText = ReadHexFile(*path, error);
    if (!fileText) {
        dialogs_.Message(*path + QStringLiteral(": ") + error, ResourceText(StringId::UpdateFirmware),
                         MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    }
    const std::unique_ptr<DownloadLink> held = core_.holdLinkForDownload();
    FirmwareDownloadWindow window(std::move(*fileText), *held, dialogs_, dialogParent_);
    emit linkHeldChanged(true);
    window.exec();
    emit linkHeldChanged(false);
}
