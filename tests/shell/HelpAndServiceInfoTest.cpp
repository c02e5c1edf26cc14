// The Help menu, and saving the probe's service information.

#include "Form1Fixture.h"

#include "shell/AboutText.h"
#include "shell/FrmText.h"
#include "shell/ServiceReportSave.h"

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
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

// Runs a test in a working folder of its own and goes back afterwards.
struct WorkingFolder {
    explicit WorkingFolder(const QString& path) : previous(QDir::currentPath()) { QDir::setCurrent(path); }
    ~WorkingFolder() { QDir::setCurrent(previous); }
    QString previous;
};

} // namespace

using HelpMenu = Form1Fixture;

TEST_F(HelpMenu, UserManualThroughTheDesktop)
{
    Make();
    const WorkingFolder here(dir.path());
    const struct {
        bool fileThere;
        bool desktopOpens;
        const char* message;  // nullptr: none
    } cases[] = {
        {false, true, "Manual.pdf was not found"},
        {true, false, "No association for file extension"},
        {true, true, nullptr},
    };
    for (const auto& c : cases) {
        dialogs.asked.clear();
        dialogs.openedDocuments.clear();
        QFile::remove(QStringLiteral("Manual.pdf"));
        if (c.fileThere) {
            WriteBytes(QStringLiteral("Manual.pdf"), "%PDF-1.4\n");
            dialogs.QueueOpenDocument(c.desktopOpens);
        }
        Menu("mnuHlpInfo")->trigger();
        const auto* shown = dialogs.Last("Message");
        if (!c.message) {
            EXPECT_EQ(shown, nullptr);
            EXPECT_EQ(dialogs.openedDocuments, std::vector<QString>{"Manual.pdf"});
            continue;
        }
        ASSERT_NE(shown, nullptr) << c.message;
        EXPECT_EQ(shown->text, c.message);
        EXPECT_EQ(shown->title, "Error");
        EXPECT_EQ(shown->icon, MessageIcon::Exclamation);
        EXPECT_EQ(dialogs.openedDocuments.empty(), !c.fileThere) << "asked the desktop for a missing file";
    }
}

TEST_F(HelpMenu, AboutBox)
{
    EXPECT_EQ(AboutText(),
              "Kestrane Tallion Tool\r\n"
              "Version: 7.4.1\r\n"
              "Author: K.T. \r\n"
              "\r\n"
              "Kestrane Tallion Systems LTD\r\n"
              "Unit 7, Harrowgate Industrial Estate\r\n"
              "PO Box 3318\r\n"
              "Wexbury, United Kingdom\r\n"
              "Tel: +44 1632 960418\r\n"
              "Fax: +44 1632 960419\r\n"
              "service@kestrane.example\r\n"
              "www.kestrane.example");
    Make();
    Menu("mnuAbt")->trigger();
    const auto* shown = dialogs.Last("Message");
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->title, "Tallion Tool");
    EXPECT_EQ(shown->icon, MessageIcon::None);
    EXPECT_EQ(shown->buttons, MessageButtons::Ok);
    EXPECT_TRUE(shown->text.startsWith("Kestrane Tallion Tool\nVersion: 7.4.1\n"));
}

struct ServiceReportSaving : ::testing::Test {
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    const std::string report = "Serial: RZ7-0412\r\nHours: 1873\r\nLamp: 23\xB0" "C\r\n";

    QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    QStringList Files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot); }
};

TEST_F(ServiceReportSaving, NewFileGetsTheReportByteForByte)
{
    dialogs.QueueSave(Path("service.txt"));
    SaveServiceReport(dialogs, report);
    EXPECT_EQ(ReadBytes(Path("service.txt")), report);
    const auto* chooser = dialogs.Last("SaveFile");
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(chooser->title, "save service information");
    EXPECT_EQ(chooser->text, "*.txt|*.txt|");
    EXPECT_EQ(dialogs.Count("Message"), 0);

    dialogs.QueueSave(Path("empty.txt"));
    SaveServiceReport(dialogs, "");
    ASSERT_TRUE(QFile::exists(Path("empty.txt")));
    EXPECT_EQ(ReadBytes(Path("empty.txt")), "");
    EXPECT_EQ(Files(), QStringList({"empty.txt", "service.txt"})) << "no temporary file left behind";
}

TEST_F(ServiceReportSaving, ExistingFileIsAskedAbout)
{
    WriteBytes(Path("old.txt"), "old report");
    // Cancel: the chooser opens again and the second name is written.
    dialogs.QueueSave(Path("old.txt"));
    dialogs.QueueMessageAnswer(MessageAnswer::Cancel);
    dialogs.QueueSave(Path("other.txt"));
    SaveServiceReport(dialogs, report);
    EXPECT_EQ(dialogs.Count("SaveFile"), 2);
    EXPECT_EQ(ReadBytes(Path("old.txt")), "old report");
    EXPECT_EQ(ReadBytes(Path("other.txt")), report);
    const auto* question = dialogs.Last("Message");
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(question->text, "Overwrite" + Path("old.txt") + "?");
    EXPECT_EQ(question->buttons, MessageButtons::YesNoCancel);

    // No: nothing written, and the save ends.
    dialogs.QueueSave(Path("old.txt"));
    dialogs.QueueMessageAnswer(MessageAnswer::No);
    SaveServiceReport(dialogs, report);
    EXPECT_EQ(dialogs.Count("SaveFile"), 3);
    EXPECT_EQ(ReadBytes(Path("old.txt")), "old report");

    // Yes: replaced with exactly the report, which is shorter than the old text here.
    dialogs.QueueSave(Path("old.txt"));
    dialogs.QueueMessageAnswer(MessageAnswer::Yes);
    SaveServiceReport(dialogs, "new");
    EXPECT_EQ(ReadBytes(Path("old.txt")), "new");
    EXPECT_EQ(Files(), QStringList({"old.txt", "other.txt"}));
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
    EXPECT_EQ(failure->title, " save to " + Path("taken.txt"));
    EXPECT_EQ(failure->text, "Is a directory");
    EXPECT_EQ(failure->icon, MessageIcon::Exclamation);
    EXPECT_EQ(ReadBytes(Path("taken.txt/inside")), "kept");
    EXPECT_EQ(Files(), QStringList({"taken.txt"}));

    dialogs.QueueSave(Path("no-such-folder/service.txt"));
    SaveServiceReport(dialogs, report);
    EXPECT_EQ(dialogs.Last("Message")->text, "No such file or directory");
}

TEST_F(ServiceReportSaving, WindowSavesWhatTheProbeSent)
{
    FrmText window(dialogs);
    window.SetText(report);
    EXPECT_EQ(window.windowTitle(), "Service Information");
    dialogs.QueueSave(Path("from-window.txt"));
    window.findChild<QPushButton*>("Command1")->click();
    EXPECT_EQ(ReadBytes(Path("from-window.txt")), report) << "CR LF kept, as the probe sent them";
    window.show();
    window.findChild<QPushButton*>("Command2")->click();
    EXPECT_FALSE(window.isVisible());
    window.show();
    QTest::keyClick(window.findChild<QWidget*>("Text1"), Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
}
