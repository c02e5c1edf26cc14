// The Help menu, and saving the probe's service information.

#include "mainwindow/MainWindowFixture.h"

#include "help/ServiceReportSave.h"
#include "help/TextWindow.h"
#include "resources/AboutText.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTest>

namespace {

std::string ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string("<unreadable>");
}

void WriteBytes(const QString& path, const std::string& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)
                && file.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size()));
}

} // namespace

using HelpMenu = MainWindowFixture;

TEST_F(HelpMenu, UserManualThroughTheDesktop)
{
    Make();
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    // Missing file; there but no program for it; opened.
    Menu("mnuHlpInfo")->trigger();
    WriteBytes(QStringLiteral("Manual.pdf"), "%PDF-1.4\n");
    dialogs.QueueOpenDocument(false);
    Menu("mnuHlpInfo")->trigger();
    dialogs.QueueOpenDocument(true);
    Menu("mnuHlpInfo")->trigger();
    QDir::setCurrent(previous);

    ASSERT_EQ(dialogs.Count("Message"), 2);
    EXPECT_EQ(dialogs.asked[0].text + "|" + dialogs.asked[0].title, "Manual.pdf was not found|Error");
    EXPECT_EQ(dialogs.asked[2].text + "|" + dialogs.asked[2].title, "No association for file extension|Error");
    EXPECT_EQ(dialogs.asked[2].icon, MessageIcon::Exclamation);
    EXPECT_EQ(dialogs.openedDocuments, (std::vector<QString>{"Manual.pdf", "Manual.pdf"}));
}

TEST_F(HelpMenu, AboutBox)
{
    EXPECT_EQ(AboutText(), "Kestrane Tallion Tool\r\nVersion: 7.4.1\r\nAuthor: K.T. \r\n\r\n"
                           "Kestrane Tallion Systems LTD\r\nUnit 7, Harrowgate Industrial Estate\r\nPO Box 3318\r\n"
                           "Wexbury, United Kingdom\r\nTel: +44 1632 960418\r\nFax: +44 1632 960419\r\n"
                           "service@kestrane.example\r\nwww.kestrane.example");
    Make();
    Menu("mnuAbt")->trigger();
    const auto* shown = dialogs.Last("Message");
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->title, "Tallion Tool");
    EXPECT_EQ(shown->icon, MessageIcon::None);
    EXPECT_EQ(shown->buttons, MessageButtons::Ok);
}

struct ServiceReportSaving : ::testing::Test {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    const std::string report = "Serial: RZ7-0412\r\nHours: 1873\r\nLamp: 23\xB0"
                               "C\r\n";

    QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    QStringList Files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot); }
};

TEST_F(ServiceReportSaving, NewAndExistingFiles)
{
    // From the window: the report as the probe sent it, CR LF kept.
    TextWindow window(dialogs);
    window.SetText(report);
    dialogs.QueueSave(Path("new.txt"));
    window.findChild<QPushButton*>("Command1")->click();
    EXPECT_EQ(ReadBytes(Path("new.txt")), report);
    EXPECT_EQ(dialogs.Last("SaveFile")->title + "|" + dialogs.Last("SaveFile")->text,
              "save service information|*.txt|*.txt|");

    // Cancel on the overwrite question: choose again.
    dialogs.QueueSave(Path("new.txt"));
    dialogs.QueueMessageAnswer(MessageAnswer::Cancel);
    dialogs.QueueSave(Path("empty.txt"));
    SaveServiceReport(dialogs, "");
    EXPECT_EQ(dialogs.Last("Message")->text, "Overwrite" + Path("new.txt") + "?");
    EXPECT_EQ(dialogs.Last("Message")->buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(ReadBytes(Path("new.txt")), report);
    EXPECT_EQ(ReadBytes(Path("empty.txt")), "");

    // No: untouched, the save ends. Yes: exactly the new text, though shorter than the old.
    dialogs.QueueSave(Path("new.txt"));
    dialogs.QueueMessageAnswer(MessageAnswer::No);
    SaveServiceReport(dialogs, "other");
    EXPECT_EQ(ReadBytes(Path("new.txt")), report);
    dialogs.QueueSave(Path("new.txt"));
    dialogs.QueueMessageAnswer(MessageAnswer::Yes);
    SaveServiceReport(dialogs, "short");
    EXPECT_EQ(ReadBytes(Path("new.txt")), "short");
    EXPECT_EQ(dialogs.Count("SaveFile"), 5);
    EXPECT_EQ(Files(), QStringList({"empty.txt", "new.txt"})) << "no temporary file left behind";

    window.show();
    QTest::keyClick(window.findChild<QWidget*>("Text1"), Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(ServiceReportSaving, FailureKeepsWhatWasThereAndSaysWhy)
{
    // A name taken by a folder cannot be replaced by a file: the folder stays, nothing is left.
    ASSERT_TRUE(QDir(dir.path()).mkdir("taken.txt"));
    WriteBytes(Path("taken.txt/inside"), "kept");
    dialogs.QueueSave(Path("taken.txt"));
    dialogs.QueueMessageAnswer(MessageAnswer::Yes);
    SaveServiceReport(dialogs, report);
    const auto* failure = dialogs.Last("Message");
    ASSERT_NE(failure, nullptr);
    EXPECT_EQ(failure->text + "|" + failure->title, "Is a directory| save to " + Path("taken.txt"));
    EXPECT_EQ(ReadBytes(Path("taken.txt/inside")), "kept");
    EXPECT_EQ(Files(), QStringList({"taken.txt"}));

    dialogs.QueueSave(Path("no-such-folder/service.txt"));
    SaveServiceReport(dialogs, report);
    EXPECT_EQ(dialogs.Last("Message")->text, "No such file or directory");
}
