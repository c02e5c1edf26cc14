#include "chartviews/SummaryChartFile.h"

#include "charts/SummaryChartData.h"
#include "chartviews/SummaryChartScene.h"
#include "printing/TextFileOutput.h"

#include <QApplication>
#include <QBuffer>
#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgGenerator>

#include <memory>

namespace {

// Large enough to read on a 1600-pixel picture shown whole on a screen or a page.
QFont ChartFileFont()
{
    QFont font = QApplication::font();
    font.setPixelSize(22);
    return font;
}

// The generator gives the picture's size in millimetres; a picture of pixels says so.
QByteArray WithPixelSize(QByteArray svg)
{
    const qsizetype open = svg.indexOf("<svg");
    const qsizetype close = open < 0 ? -1 : svg.indexOf('>', open);
    if (close < 0)
        return svg;
    QString tag = QString::fromUtf8(svg.mid(open, close - open));
    tag.replace(QRegularExpression(QStringLiteral(R"(\swidth="[^"]*")")),
                QStringLiteral(" width=\"%1\"").arg(kChartFileWidth));
    tag.replace(QRegularExpression(QStringLiteral(R"(\sheight="[^"]*")")),
                QStringLiteral(" height=\"%1\"").arg(kChartFileHeight));
    return svg.left(open) + tag.toUtf8() + svg.mid(close);
}

// The offscreen platform warns about a desktop session that a console has not got (no runtime
// folder); the command's own messages are all its user needs on standard error.
QtMessageHandler previousHandler = nullptr;
void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type != QtCriticalMsg && type != QtFatalMsg)
        return;
    if (previousHandler)
        previousHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

std::optional<ChartFileFormat> ChartFileFormatOf(const std::string& path)
{
    const QString name = QString::fromLocal8Bit(path.data(), static_cast<qsizetype>(path.size()));
    if (name.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive))
        return ChartFileFormat::Svg;
    if (name.endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
        return ChartFileFormat::Png;
    return std::nullopt;
}

QByteArray SummaryChartFileBytes(const SummaryChartData& data, ChartFileFormat format)
{
    const QSize size(kChartFileWidth, kChartFileHeight);
    SummaryChartScene charts(ChartFileFont());
    charts.Show(data, size);
    QByteArray bytes;
    if (format == ChartFileFormat::Svg) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(QStringLiteral("Class summary"));
        QPainter painter(&svg);
        charts.Render(painter, QRectF(QPointF(0, 0), size));
        painter.end();
        return WithPixelSize(bytes);
    }
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    charts.Render(painter, QRectF(QPointF(0, 0), size));
    painter.end();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

int WriteSummaryChartFile(const std::string& logPath, SummaryMode mode, const std::string& chartPath, FILE* err)
{
    const std::optional<ChartFileFormat> format = ChartFileFormatOf(chartPath);
    if (!format) {
        std::fprintf(err, "tallion summary: the chart file must end in .svg or .png: %s\n", chartPath.c_str());
        return 2;
    }
    QString error;
    const std::optional<SummaryChartData> data = ReadSummaryChartData(logPath, mode, &error);
    if (!data) {
        std::fprintf(err, "tallion summary: cannot read %s: %s\n", logPath.c_str(), error.toLocal8Bit().constData());
        return 1;
    }

    // Charts are drawn by widgets of a scene, which need an application object; the command runs
    // on consoles and over ssh, so it never asks for a display.
    std::unique_ptr<QApplication> app;
    if (!QCoreApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        previousHandler = qInstallMessageHandler(QuietHandler);
        static int argc = 1;
        static char name[] = "tallion";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QApplication>(argc, argv);
    }
    const QByteArray bytes = SummaryChartFileBytes(*data, *format);
    std::string writeError;
    if (bytes.isEmpty() || !WriteTextFileDurably(chartPath, bytes.toStdString(), &writeError)) {
        std::fprintf(err, "tallion summary: cannot write %s: %s\n", chartPath.c_str(),
                     writeError.empty() ? "the picture could not be drawn" : writeError.c_str());
        return 1;
    }
    return 0;
}
