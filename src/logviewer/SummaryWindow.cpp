#include "logviewer/SummaryWindow.h"

#include "chartviews/SummaryChartPanel.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"
#include "settings/SettingsStore.h"

#include <QCloseEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QStyle>
#include <QVBoxLayout>

namespace {

const char* const kSection = "Summary";
const char* const kGeometryKey = "WindowGeometry";

} // namespace

SummaryWindow::SummaryWindow(SettingsStore& settings, const QFont& textFont, const QFont& chartFont, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , settings_(settings)
{
    setObjectName(QStringLiteral("frmSummary"));
    setWindowTitle(ResourceText(StringId::Summary));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    splitter_ = new QSplitter(this);
    splitter_->setObjectName(QStringLiteral("summarySplitter"));
    splitter_->setChildrenCollapsible(false);
    text_ = new QPlainTextEdit(splitter_);
    text_->setObjectName(QStringLiteral("summaryText"));
    text_->setReadOnly(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setFont(textFont);
    charts_ = new SummaryChartPanel(chartFont, splitter_);
    splitter_->addWidget(text_);
    splitter_->addWidget(charts_);
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 1);
    layout->addWidget(splitter_);
}

QRect SummaryWindow::DefaultGeometry(const QRect& available)
{
    // Room for the window's frame around it.
    const QSize size(qMin(1000, available.width() - 24), qMin(720, available.height() - 48));
    QRect geometry(QPoint(0, 0), size);
    geometry.moveCenter(available.center());
    return geometry;
}

void SummaryWindow::SetText(const QString& text)
{
    const int top = text_->verticalScrollBar()->value();
    const QSize before = TextNeeds();
    text_->setPlainText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    text_->verticalScrollBar()->setValue(top);
    // A note line more or a table of the other mode wants other room.
    if (TextNeeds() != before)
        Arrange();
}

QSize SummaryWindow::TextNeeds() const
{
    const QFontMetrics metrics(text_->font());
    int widest = 0;
    const QStringList lines = text_->toPlainText().split(QLatin1Char('\n'));
    for (const QString& line : lines)
        widest = qMax(widest, metrics.horizontalAdvance(line));
    const int frame = 2 * text_->frameWidth() + 2 * static_cast<int>(text_->document()->documentMargin());
    // A little to spare: a text exactly as wide as its view still shows a scroll bar.
    return {widest + frame + metrics.averageCharWidth(),
            static_cast<int>(lines.size()) * metrics.lineSpacing() + frame + metrics.lineSpacing() / 2};
}

void SummaryWindow::Arrange()
{
    const QSize needs = TextNeeds();
    const int handle = splitter_->handleWidth();
    if (splitter_->width() - needs.width() - handle >= SummaryChartPanel::kMinimumWidth) {
        splitter_->setOrientation(Qt::Horizontal);
        splitter_->setSizes({needs.width(), splitter_->width() - needs.width() - handle});
    } else {
        splitter_->setOrientation(Qt::Vertical);
        const int textHeight = qMin(needs.height(), splitter_->height() * 2 / 3);
        splitter_->setSizes({textHeight, splitter_->height() - textHeight - handle});
    }
}

void SummaryWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layout()->activate();
    Arrange();
}

void SummaryWindow::showEvent(QShowEvent* event)
{
    if (!placed_) {
        placed_ = true;
        const QByteArray saved =
            QByteArray::fromBase64(QByteArray::fromStdString(settings_.ReadSetting(kSection, kGeometryKey, "")));
        if (saved.isEmpty() || !restoreGeometry(saved)) {
            const QScreen* screen = parentWidget() ? parentWidget()->screen() : this->screen();
            setGeometry(DefaultGeometry(screen->availableGeometry()));
        }
    }
    QWidget::showEvent(event);
    Arrange();
}

void SummaryWindow::hideEvent(QHideEvent* event)
{
    settings_.WriteSetting(kSection, kGeometryKey, saveGeometry().toBase64().toStdString());
    QWidget::hideEvent(event);
}

void SummaryWindow::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    // The station itself only ever hides it.
    if (event->isAccepted())
        emit closedByOperator();
}
