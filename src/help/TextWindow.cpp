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
    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName("Text1");
    Text1->setReadOnly(true);
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSize(11);
    Text1->setFont(fixed);

    Command1 = new QPushButton("&Save as", this);
    Command1->setObjectName("Command1");
    Command2 = new QPushButton("&Close", this);
    Command2->setObjectName("Command2");
    connect(Command1, &QPushButton::clicked, this, [this] { SaveServiceReport(dialogs_, report_); });
    connect(Command2, &QPushButton::clicked, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Text1);
    layout->addLayout(buttons);
    resize(640, 420);
}

void TextWindow::SetText(const std::string& text)
{
    report_ = text;
    // The probe's reports end lines with CR LF; the text box wants one break per line.
    QString shown = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    Text1->setPlainText(shown);
    FitLongestLine(shown);
}

void TextWindow::FitLongestLine(const QString& text)
{
    // Wide enough for the report's longest line, as far as the screen allows; never narrower
    // than the operator made it.
    const QFontMetrics metrics(Text1->font());
    int longest = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        longest = std::max(longest, metrics.horizontalAdvance(line));
    const int chrome = width() - Text1->viewport()->width();
    int wanted = longest + chrome + 2 * static_cast<int>(Text1->document()->documentMargin()) + 4;
    if (const QScreen* on = screen())
        wanted = std::min(wanted, on->availableGeometry().width() - (frameGeometry().width() - width()));
    if (wanted > width())
        resize(wanted, height());
}

QString TextWindow::Text() const
{
    return Text1->toPlainText();
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
