#pragma once
// The demo: a simulated probe and a simulated scale on pseudo-terminals, temporary settings and
// an empty log file, so that anyone can watch the station work without instruments.

#include <QElapsedTimer>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>
#include <string>

class CarcassWeights;
class MeasurementGenerator;
class PtyPair;
class SimulatedProbe;
class SimulatedScale;

class DemoRig {
public:
    // `weighing`: the settings choose a Mettler-Toledo scale, weight before probe and the lean
    // meat equation, for a station started with --weighing; every measured carcass is weighed
    // half an interval before the probe sends it. `carcassIntervalMs`: time between two carcasses.
    explicit DemoRig(bool weighing = false, int carcassIntervalMs = 2500);
    ~DemoRig();

    // Empty when the rig is ready; otherwise what went wrong.
    QString Error() const { return error_; }
    QString SettingsPath() const;
    QString LogPath() const;
    QString ProbeDevicePath() const;
    QString ScaleDevicePath() const;

    // Starts the simulated instruments (after the station has opened its ports).
    void Start();

private:
    void WriteSettings(bool weighing);
    // One carcass passes: the scale weighs it and its probe message is due half an interval later.
    void NextCarcass();

    QString error_;
    QTemporaryDir dir_;
    std::unique_ptr<PtyPair> probePty_;
    std::unique_ptr<PtyPair> scalePty_;
    std::unique_ptr<MeasurementGenerator> generator_;
    std::unique_ptr<CarcassWeights> weights_;
    std::unique_ptr<SimulatedProbe> probe_;
    std::unique_ptr<SimulatedScale> scale_;
    QTimer carcassTimer_;
    QElapsedTimer sinceWeighing_;
    std::string dueMessage_;
    // Cancelled carcasses are probed again with the weight the cancel gave back.
    int weightsGivenBack_ = 0;
    int intervalMs_;
};
