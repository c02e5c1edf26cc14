#pragma once
// The "Command-To-Probe" menu: each entry queues its command for the probe's next command poll,
// and colour calibration opens its window. Given the station, the settings (the analysis type
// is stored), the operator's questions and the menu entries it wires.

#include <QObject>
#include <QString>
#include <functional>
#include <string>

class OperatorQuestions;
class QAction;
class QWidget;
class SettingsStore;
class StationCore;

class ProbeCommandMenus : public QObject {
    Q_OBJECT
public:
    // A menu entry by its station name; nullptr when there is none.
    using MenuLookup = std::function<QAction*(const QString& name)>;

    // `dialogParent` owns this object and the calibration window while it shows.
    ProbeCommandMenus(StationCore& station, SettingsStore& settings, OperatorQuestions& questions,
                      const MenuLookup& menus, QWidget* dialogParent);

private:
    void On(const MenuLookup& menus, const QString& name, std::function<void()> command);
    void QueueIfAlive(const std::string& command);
    void SetCounter();
    void ClearMeasurementStore();
    void ChooseAnalysisType(int type);
    void ColourCalibration();

    StationCore& station_;
    SettingsStore& settings_;
    OperatorQuestions& questions_;
    MenuLookup menus_;
    QWidget* dialogParent_;
};
