#pragma once
// "Update Firmware" (Command-To-Probe menu): the operator picks an Intel HEX file, the probe is
// told to expect firmware, and the download window sends the file while the receive tick is
// paused. Says when it holds the link and when it lets go, so that the link lamp can show it.

#include <QObject>
#include <QString>
#include <functional>

class OperatorDialogs;
class QAction;
class QWidget;
class StationCore;

class FirmwareUpdate : public QObject {
    Q_OBJECT
public:
    // A menu entry by its station name; nullptr when there is none.
    using MenuLookup = std::function<QAction*(const QString& name)>;

    // `dialogParent` owns this object and the download window while it shows.
    FirmwareUpdate(StationCore& core, OperatorDialogs& dialogs, const MenuLookup& menus, QWidget* dialogParent);

signals:
    // The download window opened (true) and closed (false): meanwhile the link does not run.
    void linkHeldChanged(bool held);

private:
    void Run();

    StationCore& core_;
    OperatorDialogs& dialogs_;
    QWidget* dialogParent_;
};
