#include "help/TextWindow.h"

#include "help/ServiceReportSave.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>

TextWindow::TextWindow(OperatorDialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , dialogs_(dialogs)
{
    setObjectName("FrmText");
    setWindowTitle("Service Information");
    reportText = new QPlainTextEdit(this);
    reportText->setObjectName("Text1");
    reportText->setReadOnly(true);
    reportText->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSize(11);
    reportText->setFont(fixed);

    saveAsButton = new QPushButton("&Save as", this);
    saveAsButton->setObjectName("Command1");
    closeButton = new QPushButton("&Close", this);
    closeButton->setObjectName("Command2");
    connect(saveAsButton, &QPushButton::clicked, this, [this] { SaveServiceReport(dialogs_, report_); });
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(saveAsButton);
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(reportText);
    layout->addLayout(buttons);
    resize(640, 420);
}

void TextWindow::SetText(const std::string& text)
{
    report_ = text;
    // The probe's reports end lines with CR LF; the text box wants one break per line.
    QString shown = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    reportText->setPlainText(shown);
    FitLongestLine(shown);
}

void TextWindow::FitLongestLine(const QString& text)
{
    // Wide enough for the report's longest line, as far as the screen allows; never narrower
    // than the operator made it.
    const QFontMetrics metrics(reportText->font());
    int longest = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        longest = std::max(longest, metrics.horizontalAdvance(line));
    const int chrome = width() - reportText->viewport()->width();
    int wanted = longest + chrome + 2 * static_cast<int>(reportText->document()->documentMargin()) + 4;
    if (const QScreen* on = screen())
        wanted = std::min(wanted, on->availableGeometry().width() - (frameGeometry().width() - width()));
    if (wanted > width())
        resize(wanted, height());
}

QString TextWindow::Text() const
{
    return reportText->toPlainText();
}

void TextWindow::keyPressEvent(QKeyEvent* event)
{
    // A window, not a dialog: Escape closes it as it would a dialog.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
