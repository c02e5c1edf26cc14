#pragma once
// The port settings dialogs as the station opens them: the Settings menu's probe port entry, and
// each scale model's dialog for whoever asks (the Weight menu). Given the station core (its ports
// and their watches, the probe link), the settings, the operator's questions, the scale options
// the dialogs edit and the device each port number stands for.

#include <QObject>
#include <QString>
#include <functional>

class OperatorQuestions;
class PortDeviceMap;
class QAction;
class QWidget;
class SettingsStore;
class StationCore;
enum class PortDialogKind;
struct PortDialogDeps;
struct ScaleOptions;

class PortDialogMenus : public QObject {
    Q_OBJECT
public:
    // A menu entry by its station name; nullptr when there is none.
    using MenuLookup = std::function<QAction*(const QString& name)>;

    struct Links {
        StationCore& core;
        SettingsStore& settings;
        OperatorQuestions& questions;
        ScaleOptions& scaleOptions; // the scale flags and parsing options the dialogs edit
        // The devices of this run (command-line overrides); nullptr: as the settings map them.
        const PortDeviceMap* devices;
        // Status bar panel 2 (probe port) or 3 (scale port) after OK.
        std::function<void(int panel, const QString& text)> setStatusPanel;
    };

    // `dialogParent` owns this object and the dialogs while they show.
    PortDialogMenus(Links links, const MenuLookup& menus, QWidget* dialogParent);

    // Shows a port settings dialog modally (the probe's or a scale model's); true when OK
    // applied it.
    bool Open(PortDialogKind kind);

signals:
    // OK moved the probe to another port and opened it there: the link has started afresh.
    void probePortReopened();

private:
    PortDialogDeps DepsFor(PortDialogKind kind);
    QString DeviceFor(int port) const;

    Links links_;
    QWidget* dialogParent_;
};
