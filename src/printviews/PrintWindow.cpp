#include "printviews/PrintWindow.h"

#include "printing/TextFileOutput.h"
#include "settings/SettingsStore.h"
#include "widgets/ApplyStringTable.h"
#include "widgets/OperatorDialogs.h"

#include <QBoxLayout>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

namespace {

const std::string kSection = "Properties";
const std::string kFolderKey = "TxtFilePath";

// Captions from the string table carry no access key: the wanted letter becomes it, as written
// (else in either case, else the first letter).
void GiveAccessKey(QAbstractButton* button, QChar wanted)
{
    QString text = button->text();
    if (text.contains(QLatin1Char('&')) || text.isEmpty())
        return;
    qsizetype at = text.indexOf(wanted);
    if (at < 0)
        at = text.indexOf(wanted, 0, Qt::CaseInsensitive);
    if (at < 0)
        at = 0;
    text.insert(at, QLatin1Char('&'));
    button->setText(text);
}

QString FromPath(const std::string& path)
{
    return QString::fromLocal8Bit(path.data(), static_cast<qsizetype>(path.size()));
}

std::string ToPath(const QString& text)
{
    return text.toLocal8Bit().toStdString();
}

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

} // namespace

PrintWindow::PrintWindow(OperatorDialogs& dialogs, SettingsStore& settings, const std::string& logFilePath,
                         std::string& textFilePath, Actions actions, QWidget* parent)
    : QDialog(parent)
    , dialogs_(dialogs)
    , settings_(settings)
    , logFilePath_(logFilePath)
    , textFilePath_(textFilePath)
    , actions_(std::move(actions))
{
    setObjectName(QStringLiteral("FrmPrint"));
    setProperty("tag", QStringLiteral("1237"));

    folderLabel = new QLabel(this);
    folderLabel->setObjectName(QStringLiteral("Label1"));
    folderLabel->setProperty("tag", QStringLiteral("1252"));
    pathLabel = new QLabel(this);
    pathLabel->setObjectName(QStringLiteral("LblPath"));
    pathLabel->setFrameShape(QFrame::StyledPanel);
    pathLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    pathLabel->setMinimumWidth(360);
    fileTitleLabel = new QLabel(this);
    fileTitleLabel->setObjectName(QStringLiteral("LblFileTitle"));
    fileTitleLabel->setFrameShape(QFrame::StyledPanel);
    fileTitleLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    folderButton = new QToolButton(this);
    folderButton->setObjectName(QStringLiteral("CmdFolder"));
    folderButton->setText(QStringLiteral("..."));
    folderButton->setToolTip(QStringLiteral("1255"));
    folderButton->setFocusPolicy(Qt::StrongFocus);
    folderLabel->setBuddy(folderButton);

    auto makeButton = [this](const char* name, const char* tag) {
        auto* button = new QPushButton(this);
        button->setObjectName(QString::fromLatin1(name));
        button->setProperty("tag", QString::fromLatin1(tag));
        return button;
    };
    printToFileButton = makeButton("CmdPTF", "1251");
    printToPrinterButton = makeButton("CmdPTP", "1253");
    cancelButton = makeButton("CmdCancel", "1254");

    auto* grid = new QGridLayout;
    grid->addWidget(folderLabel, 0, 0);
    grid->addWidget(pathLabel, 0, 1);
    grid->addWidget(folderButton, 0, 2);
    grid->addWidget(fileTitleLabel, 1, 1);
    grid->setColumnStretch(1, 1);
    auto* buttons = new QDialogButtonBox(Qt::Horizontal, this);
    buttons->addButton(printToFileButton, QDialogButtonBox::ActionRole);
    buttons->addButton(printToPrinterButton, QDialogButtonBox::AcceptRole);
    buttons->addButton(cancelButton, QDialogButtonBox::RejectRole);
    auto* rows = new QVBoxLayout(this);
    rows->addLayout(grid);
    rows->addSpacing(8);
    rows->addWidget(buttons);

    ApplyStringTable(this);
    GiveAccessKey(printToFileButton, QLatin1Char('f'));
    // "p" belongs to "Path".
    GiveAccessKey(printToPrinterButton, QLatin1Char('a'));
    GiveAccessKey(cancelButton, QLatin1Char('C'));
    if (!folderLabel->text().contains(QLatin1Char('&')))
        folderLabel->setText(QLatin1Char('&') + folderLabel->text());
    // Return prints on paper (nothing is overwritten without the printer dialog); Escape cancels.
    printToPrinterButton->setDefault(true);
    printToPrinterButton->setFocus();

    // Without a folder chosen yet the text file goes beside the log file, never into whatever
    // folder the station was started from.
    std::string folder = SettingsStore::PathFromText(settings_.ReadSetting(kSection, kFolderKey, ""));
    if (folder.empty())
        folder = FolderOf(logFilePath_);
    pathLabel->setText(FromPath(folder));
    fileTitleLabel->setText(FromPath(TextFileTitle(logFilePath_)));
    textFilePath_ = JoinFolderAndName(folder, TextFileTitle(logFilePath_));

    connect(printToFileButton, &QPushButton::clicked, this, &PrintWindow::OnPrintToFile);
    connect(printToPrinterButton, &QPushButton::clicked, this, &PrintWindow::OnPrintToPaper);
    connect(cancelButton, &QPushButton::clicked, this, &PrintWindow::reject);
    connect(folderButton, &QToolButton::clicked, this, &PrintWindow::OnFolder);
}

QString PrintWindow::FileTitle() const
{
    return fileTitleLabel->text();
}

QString PrintWindow::Folder() const
{
    return pathLabel->text();
}

void PrintWindow::OnPrintToFile()
{
    close();
    if (actions_.printToFile)
        actions_.printToFile();
}

void PrintWindow::OnPrintToPaper()
{
    close();
    if (actions_.printToPaper)
        actions_.printToPaper();
}

void PrintWindow::OnFolder()
{
    const std::string proposed = JoinFolderAndName(ToPath(pathLabel->text()), ProposedTextFileName(logFilePath_));
    const std::optional<QString> chosen = dialogs_.SaveFile(
        QStringLiteral("Save File"), QStringLiteral("Text File (*.txt)|*.txt|ALL FILES (*.*)|*.*"), FromPath(proposed));
    if (!chosen || chosen->isEmpty())
        return;
    textFilePath_ = ToPath(*chosen);
    const std::string folder = FolderOf(textFilePath_);
    fileTitleLabel->setText(FromPath(textFilePath_.substr(folder.size())));
    pathLabel->setText(FromPath(folder));
    settings_.WriteSetting(kSection, kFolderKey, SettingsStore::TextFromPath(folder));
    OnPrintToFile();
}
