#include "printing/PrintWindow.h"

#include "mainwindow/ApplyStringTable.h"
#include "mainwindow/OperatorDialogs.h"
#include "printing/PrintTextFile.h"
#include "settings/SettingsStore.h"

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
    LblPath = new QLabel(this);
    LblPath->setObjectName(QStringLiteral("LblPath"));
    LblPath->setFrameShape(QFrame::StyledPanel);
    LblPath->setTextInteractionFlags(Qt::TextSelectableByMouse);
    LblPath->setMinimumWidth(360);
    LblFileTitle = new QLabel(this);
    LblFileTitle->setObjectName(QStringLiteral("LblFileTitle"));
    LblFileTitle->setFrameShape(QFrame::StyledPanel);
    LblFileTitle->setTextInteractionFlags(Qt::TextSelectableByMouse);
    CmdFolder = new QToolButton(this);
    CmdFolder->setObjectName(QStringLiteral("CmdFolder"));
    CmdFolder->setText(QStringLiteral("..."));
    CmdFolder->setToolTip(QStringLiteral("1255"));
    CmdFolder->setFocusPolicy(Qt::StrongFocus);
    folderLabel->setBuddy(CmdFolder);

    auto makeButton = [this](const char* name, const char* tag) {
        auto* button = new QPushButton(this);
        button->setObjectName(QString::fromLatin1(name));
        button->setProperty("tag", QString::fromLatin1(tag));
        return button;
    };
    CmdPTF = makeButton("CmdPTF", "1251");
    CmdPTP = makeButton("CmdPTP", "1253");
    CmdCancel = makeButton("CmdCancel", "1254");

    auto* grid = new QGridLayout;
    grid->addWidget(folderLabel, 0, 0);
    grid->addWidget(LblPath, 0, 1);
    grid->addWidget(CmdFolder, 0, 2);
    grid->addWidget(LblFileTitle, 1, 1);
    grid->setColumnStretch(1, 1);
    auto* buttons = new QDialogButtonBox(Qt::Horizontal, this);
    buttons->addButton(CmdPTF, QDialogButtonBox::ActionRole);
    buttons->addButton(CmdPTP, QDialogButtonBox::AcceptRole);
    buttons->addButton(CmdCancel, QDialogButtonBox::RejectRole);
    auto* rows = new QVBoxLayout(this);
    rows->addLayout(grid);
    rows->addSpacing(8);
    rows->addWidget(buttons);

    ApplyStringTable(this);
    GiveAccessKey(CmdPTF, QLatin1Char('f'));
    // "p" belongs to "Path".
    GiveAccessKey(CmdPTP, QLatin1Char('a'));
    GiveAccessKey(CmdCancel, QLatin1Char('C'));
    if (!folderLabel->text().contains(QLatin1Char('&')))
        folderLabel->setText(QLatin1Char('&') + folderLabel->text());
    // Return prints on paper (nothing is overwritten without the printer dialog); Escape cancels.
    CmdPTP->setDefault(true);
    CmdPTP->setFocus();

    // Without a folder chosen yet the text file goes beside the log file, never into whatever
    // folder the station was started from.
    std::string folder = SettingsStore::PathFromText(settings_.ReadSetting(kSection, kFolderKey, ""));
    if (folder.empty())
        folder = FolderOf(logFilePath_);
    LblPath->setText(FromPath(folder));
    LblFileTitle->setText(FromPath(TextFileTitle(logFilePath_)));
    textFilePath_ = JoinFolderAndName(folder, TextFileTitle(logFilePath_));

    connect(CmdPTF, &QPushButton::clicked, this, &PrintWindow::OnPrintToFile);
    connect(CmdPTP, &QPushButton::clicked, this, &PrintWindow::OnPrintToPaper);
    connect(CmdCancel, &QPushButton::clicked, this, &PrintWindow::reject);
    connect(CmdFolder, &QToolButton::clicked, this, &PrintWindow::OnFolder);
}

QString PrintWindow::FileTitle() const
{
    return LblFileTitle->text();
}

QString PrintWindow::Folder() const
{
    return LblPath->text();
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
    const std::string proposed = JoinFolderAndName(ToPath(LblPath->text()), ProposedTextFileName(logFilePath_));
    const std::optional<QString> chosen = dialogs_.SaveFile(
        QStringLiteral("Save File"), QStringLiteral("Text File (*.txt)|*.txt|ALL FILES (*.*)|*.*"), FromPath(proposed));
    if (!chosen || chosen->isEmpty())
        return;
    textFilePath_ = ToPath(*chosen);
    const std::string folder = FolderOf(textFilePath_);
    LblFileTitle->setText(FromPath(textFilePath_.substr(folder.size())));
    LblPath->setText(FromPath(folder));
    settings_.WriteSetting(kSection, kFolderKey, SettingsStore::TextFromPath(folder));
    OnPrintToFile();
}
