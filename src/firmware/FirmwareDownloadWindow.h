#pragma once
// The firmware download window: instructions for the operator, progress, and the timer that
// sends the HEX file to the probe a chunk at a time over the probe port the station lends it
// (DownloadLink); closing the window stops the download at once and gives the port back.

#include "probe/HexChunks.h"

#include <QDialog>
#include <QTimer>
#include <string>

class DownloadLink;
class OperatorNotices;
class QLabel;
class QPlainTextEdit;
class QProgressBar;

class FirmwareDownloadWindow : public QDialog {
    Q_OBJECT
public:
    // `fileText`: the HEX file as read; `link`: the probe port held for the download.
    FirmwareDownloadWindow(std::string fileText, DownloadLink& link, OperatorNotices& notices,
                           QWidget* parent = nullptr);

    // One tick of chunkTimer: the next chunk down the probe port.
    void OnChunkTimer();
    // Pause between chunks, chosen from the port's speed when the window opened.
    int Interval() const { return interval_; }
    QString PercentText() const;
    int ProgressValue() const;

    QTimer chunkTimer;

    // The operator's instructions, lines ending in CR LF.
    static std::string InstructionText();

    void done(int result) override;

private:
    HexChunks download_;
    DownloadLink& link_;
    OperatorNotices& notices_;
    int interval_;
    bool started_ = false;
    QPlainTextEdit* instructionsText = nullptr;
    QLabel* percentLabel = nullptr;
    QProgressBar* progressBar = nullptr;
};
