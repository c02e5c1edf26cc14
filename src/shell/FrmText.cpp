#include "shell/FrmText.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QVBoxLayout>

FrmText::FrmText(QWidget* parent)
    : QWidget(parent, Qt::Window)
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
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Text1);
    resize(640, 420);
}

void FrmText::SetText(const std::string& text)
{
    // The probe's reports end lines with CR LF; the text box wants one break per line.
    QString shown = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    Text1->setPlainText(shown);
}

QString FrmText::Text() const
{
    return Text1->toPlainText();
}
