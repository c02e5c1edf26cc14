#pragma once
// The firmware download window: instructions for the operator, progress, and the timer that
// sends the HEX file to the probe a chunk at a time. While it sends, the receive tick stays
// paused so that the link does not use the probe port; closing the window stops the download at
// once and lets the link resume.

#include "probe/HexChunks.h"

#include <QDialog>
#include <QTimer>
#include <functional>
#include <string>

class OperatorNotices;
class ReceiveTick;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class SerialPort;

class FirmwareDownloadWindow : public QDialog {
    Q_OBJECT
public:
    // `fileText`: the HEX file as read; `receiveTick`: the station's, paused while chunks go out.
    FirmwareDownloadWindow(std::string fileText, SerialPort& port, ReceiveTick& receiveTick, OperatorNotices& notices,
                           QWidget* parent = nullptr);

    // One tick of Timer2Sec: the next chunk down the probe port.
    void OnTimer2Sec();
    // Pause between chunks, chosen from the port's speed when the window opened.
    int Interval() const { return interval_; }
    QString PercentText() const;
    int ProgressValue() const;

    QTimer Timer2Sec;

    // True while the probe has not yet had its "F" (still queued, or its exchange not closed):
    // the first chunk waits, since data before "F" means nothing to the probe.
    std::function<bool()> probeNotYetTold;

    // The operator's instructions, lines ending in CR LF.
    static std::string InstructionText();

    void done(int result) override;

private:
    HexChunks download_;
    SerialPort& port_;
    ReceiveTick& receiveTick_;
    OperatorNotices& notices_;
    int interval_;
    bool started_ = false;
    QPlainTextEdit* instructionsText = nullptr;
    QLabel* percentLabel = nullptr;
    QProgressBar* PrgBar = nullptr;
};
