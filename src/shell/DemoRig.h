#pragma once
// The demo: a simulated probe on a pseudo-terminal, temporary settings and an empty log file, so
// that anyone can watch the station work without instruments.

#include <QString>
#include <QTemporaryDir>
#include <memory>

class PtyPair;
class SimulatedProbe;
class MeasurementGenerator;

class DemoRig {
public:
    // `carcassIntervalMs`: time between two measured carcasses.
    explicit DemoRig(int carcassIntervalMs = 2500);
    ~DemoRig();

    // Empty when the rig is ready; otherwise what went wrong.
    QString Error() const { return error_; }
    QString SettingsPath() const;
    QString LogPath() const;
    QString ProbeDevicePath() const;

    // Starts the simulated probe (after the station has opened its port).
    void Start();

private:
    QString error_;
    QTemporaryDir dir_;
    std::unique_ptr<PtyPair> pty_;
    std::unique_ptr<MeasurementGenerator> generator_;
    std::unique_ptr<SimulatedProbe> probe_;
    int intervalMs_;
};
