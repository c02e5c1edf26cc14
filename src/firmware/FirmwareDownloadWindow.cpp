#include "firmware/FirmwareDownloadWindow.h"

#include "probe/OperatorNotices.h"
#include "station/DownloadLink.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QVBoxLayout>

namespace {

QString Latin1(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

std::string FirmwareDownloadWindow::InstructionText()
{
    return "Downloading Firmware code to the probe,\r\n"
           "DO NOT turn off the power untill complete!\r\n"
           "\r\n"
           "User should Observe probe's display for progress.\r\n"
           "A. The new firmware code is transferred to the probe through "
           "the COM port. During this time, the probe displays \"nn RECEIVE\","
           "where nn represents the percentage of received code. It could take up "
           "to 3 minutes to complete the transfer. The time taken will depend on the COM port speed and the "
           "size of HEX file. 60KB of data with 38400bps baud rate will take approx. 1 minute.\r\n"
           "\r\n"
           "B. The probe then erases its Flash memory and writes the new code into "
           "memory, displaying \"WRITING\". This step takes approx. 5 seconds to "
           "complete.\r\n"
           "\r\n"
           "C. If no errors are detected, you will see the \"COMPLETE\" message on the "
           "display, which indicates a successful update. You should then disconnect the power by removing the cannon "
           "plug and "
           "reconnect after 5 seconds to restart the software. At this stage, The TallionTool program "
           "should also be closed and restarted.\r\n"
           "\r\n"
           "D. However, if errors have occured during step A or B then "
           "the probe will display an \"ERROR\" message with an error code. The code number will range "
           "from 1 to 6.\r\n"
           "1: Character out of range error.\r\n"
           "2: User code exceeds upper limit.\r\n"
           "3: Type character error.\r\n"
           "4: Hex file error.\r\n"
           "5: Checksum error.\r\n"
           "6: Flash memory erase error.\r\n"
           "The probe will stop operating if an error occurs. At this point, you are required "
           "to dettach and then reattach power cable to effect a software restart.";
}

FirmwareDownloadWindow::FirmwareDownloadWindow(std::string fileText, DownloadLink& link, OperatorNotices& notices,
                                               QWidget* parent)
    : QDialog(parent)
    , download_(std::move(fileText))
    , link_(link)
    , notices_(notices)
    , interval_(DownloadTickInterval(link.PortSettings()))
{
    setObjectName("FrmDownload");
    setWindowTitle("Updating Firmware");
    QFont large = font();
    large.setPointSize(12);
    setFont(large);

    instructionsText = new QPlainTextEdit(this);
    instructionsText->setObjectName("Text1");
    instructionsText->setReadOnly(true);
    QString instructions = Latin1(InstructionText());
    instructions.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    instructionsText->setPlainText(instructions);
    percentLabel = new QLabel(QStringLiteral("0%"), this);
    percentLabel->setObjectName("Text2");
    QFont percent = large;
    percent.setPointSize(20);
    percent.setBold(true);
    percentLabel->setFont(percent);
    percentLabel->setAlignment(Qt::AlignCenter);
    progressBar = new QProgressBar(this);
    progressBar->setObjectName("PrgBar");
    progressBar->setRange(0, static_cast<int>(HexChunks::kFullScaleBytes));
    progressBar->setValue(0);
    // The percentage beside it is the one the operator reads.
    progressBar->setTextVisible(false);
    progressBar->setMinimumHeight(28);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(instructionsText, 1);
    layout->addWidget(progressBar);
    layout->addWidget(percentLabel);
    resize(820, 640);

    chunkTimer.setObjectName("Timer2Sec");
    chunkTimer.setSingleShot(true);
    connect(&chunkTimer, &QTimer::timeout, this, &FirmwareDownloadWindow::OnChunkTimer);
    // The first chunk waits two seconds: the link delivers "F" meanwhile.
    chunkTimer.start(2000);
}

void FirmwareDownloadWindow::OnChunkTimer()
{
    // A busy line may not have passed "F" on within the first two seconds; the receive tick
    // keeps running until it has.
    if (!started_ && link_.ProbeNotYetTold()) {
        chunkTimer.start(200);
        return;
    }
    started_ = true;
    chunkTimer.stop();
    chunkTimer.setInterval(interval_);

    const std::string chunk = download_.NextChunk();
    if (!link_.Send(chunk)) {
        // Sending on as if nothing happened would end in "100%" for a probe that got nothing.
        notices_.Notify(Latin1(link_.LastError()), windowTitle(), MessageIcon::Exclamation);
        return;
    }
    progressBar->setValue(static_cast<int>(download_.BarValue()));
    percentLabel->setText(Latin1(download_.PercentText()));
    if (!download_.Finished())
        chunkTimer.start();
}

QString FirmwareDownloadWindow::PercentText() const
{
    return percentLabel->text();
}

int FirmwareDownloadWindow::ProgressValue() const
{
    return progressBar->value();
}

void FirmwareDownloadWindow::done(int result)
{
    // Closed in any state: nothing more is sent, and the link takes the port back.
    chunkTimer.stop();
    download_.Stop();
    link_.Release();
    QDialog::done(result);
}
