#include "settings/SettingsStore.h"
#include "probe/OperatorNotices.h"
#include "settings/SettingsFileCheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <string>

namespace {

class SettingsStoreTest : public ::testing::Test {
protected:
    QString IniPath() const { return dir_.filePath(iniName_); }

    QByteArray FileText() const
    {
        QFile f(IniPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    void WriteFile(const QByteArray& text) const
    {
        QFile f(IniPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }

    QTemporaryDir dir_;
    QString iniName_ = QStringLiteral("tallion.ini");
};

} // namespace

TEST_F(SettingsStoreTest, WrittenValueIsReadBack)
{
    SettingsStore store(IniPath());
    store.WriteSetting("Properties", "RZ4PortSetting", "4800,e,7,2");
    EXPECT_EQ(store.ReadSetting("Properties", "RZ4PortSetting", "x"), "4800,e,7,2");
    EXPECT_EQ(store.FilePath(), IniPath());
}

TEST_F(SettingsStoreTest, SectionNamesIgnoreCaseBothWays)
{
    SettingsStore store(IniPath());
    store.WriteSetting("properties", "LogFilePath", "/tmp/a.dif");
    EXPECT_EQ(store.ReadSetting("Properties", "LogFilePath", ""), "/tmp/a.dif");
    store.WriteSetting("Properties", "TxtFilePath", "/tmp/");
    EXPECT_EQ(store.ReadSetting("properties", "TxtFilePath", ""), "/tmp/");
    EXPECT_EQ(store.ReadSetting("PROPERTIES", "txtfilepath", ""), "/tmp/");
    // One section in the file, spelt as first written.
    EXPECT_TRUE(FileText().contains("[properties]"));
    EXPECT_FALSE(FileText().contains("[Properties]"));
}

TEST_F(SettingsStoreTest, KeyNamesIgnoreCaseBothWays)
{
    SettingsStore store(IniPath());
    store.WriteSetting("Properties", "Banner", "5");
    EXPECT_EQ(store.ReadSetting("Properties", "banner", "3"), "5");
    store.WriteSetting("properties", "banner", "7");
    EXPECT_EQ(store.ReadSetting("Properties", "Banner", "3"), "7");
    EXPECT_EQ(store.ReadSetting("Properties", "BANNER", "3"), "7");
    // The write reused the stored spelling: one key, not two.
    EXPECT_EQ(FileText().count("anner="), 1);
    EXPECT_TRUE(FileText().contains("Banner=7"));
}

TEST_F(SettingsStoreTest, HandWrittenFileIsReadWithoutRegardToCase)
{
    WriteFile("[PROPERTIES]\nWgtScaleModel=3\nRZ4PortSetting=9600,n,8,1\n");
    SettingsStore store(IniPath());
    EXPECT_EQ(store.ReadSetting("Properties", "wgtscalemodel", "1"), "3");
    // An unquoted value with commas is still one text.
    EXPECT_EQ(store.ReadSetting("Properties", "RZ4PortSetting", ""), "9600,n,8,1");
    store.WriteSetting("Properties", "WgtScaleModel", "4");
    EXPECT_TRUE(FileText().contains("[PROPERTIES]"));
    EXPECT_TRUE(FileText().contains("WgtScaleModel=4"));
}

TEST_F(SettingsStoreTest, AbsentKeyYieldsDefaultAndIsNotWrittenBack)
{
    SettingsStore store(IniPath());
    EXPECT_EQ(store.ReadSetting("Properties", "AnaType", "901"), "901");
    EXPECT_EQ(store.ReadSetting("Properties", "AnaType", "905"), "905");
    EXPECT_FALSE(FileText().contains("AnaType"));

    store.WriteSetting("Properties", "Banner", "2");
    EXPECT_EQ(store.ReadSetting("Properties", "AnaType", "901"), "901");
    EXPECT_FALSE(FileText().contains("AnaType"));
    EXPECT_EQ(store.ReadSetting("Other", "Banner", "x"), "x");
}

TEST_F(SettingsStoreTest, PresentEmptyKeyYieldsEmptyText)
{
    SettingsStore store(IniPath());
    store.WriteSetting("Properties", "RZ7Echo", "");
    EXPECT_EQ(store.ReadSetting("Properties", "RZ7Echo", "default"), "");
    WriteFile("[Properties]\nEcho=\n");
    EXPECT_EQ(store.ReadSetting("Properties", "echo", "default"), "");
}

TEST_F(SettingsStoreTest, ValueIsSeenBySecondInstance)
{
    SettingsStore writer(IniPath());
    SettingsStore reader(IniPath());
    EXPECT_EQ(reader.ReadSetting("Properties", "Factor", "1"), "1");
    writer.WriteSetting("Properties", "Factor", "2");
    EXPECT_EQ(reader.ReadSetting("Properties", "Factor", "1"), "2");
    writer.WriteSetting("Properties", "Factor", "3");
    EXPECT_EQ(reader.ReadSetting("properties", "factor", "1"), "3");
    // And the file itself holds it at once.
    EXPECT_TRUE(FileText().contains("Factor=3"));
}

TEST_F(SettingsStoreTest, FileChangedOutsideIsSeenByNextRead)
{
    SettingsStore store(IniPath());
    store.WriteSetting("Properties", "HeaderCharacter", "$");
    WriteFile("[Properties]\nHeaderCharacter=~\nExtra=1\n");
    EXPECT_EQ(store.ReadSetting("Properties", "HeaderCharacter", ""), "~");
}

TEST_F(SettingsStoreTest, PortTwelveIsStoredAsLessThanSign)
{
    SettingsStore store(IniPath());
    EXPECT_EQ(SettingsStore::PortNumberText(12), "<");
    EXPECT_EQ(SettingsStore::PortNumberText(10), ":");
    EXPECT_EQ(SettingsStore::PortNumberText(1), "1");
    store.WriteSetting("Properties", "WeightPortNum", SettingsStore::PortNumberText(12));
    const std::string stored = store.ReadSetting("Properties", "WeightPortNum", "2");
    EXPECT_EQ(stored, "<");
    EXPECT_EQ(SettingsStore::PortNumberFromText(stored, 2), 12);
}

TEST_F(SettingsStoreTest, EveryPortRoundTrips)
{
    SettingsStore store(IniPath());
    for (int port = 1; port <= 16; ++port) {
        store.WriteSetting("Properties", "RZ7PortNumber", SettingsStore::PortNumberText(port));
        SettingsStore other(IniPath());
        const std::string text = other.ReadSetting("Properties", "RZ7PortNumber", "");
        ASSERT_EQ(text.size(), 1u) << port;
        EXPECT_EQ(static_cast<unsigned char>(text[0]), 48 + port);
        EXPECT_EQ(SettingsStore::PortNumberFromText(text, 0), port);
    }
}

TEST_F(SettingsStoreTest, PortNumberFromTextTakesFirstCharacter)
{
    EXPECT_EQ(SettingsStore::PortNumberFromText("", 1), 1);
    EXPECT_EQ(SettingsStore::PortNumberFromText("", 2), 2);
    EXPECT_EQ(SettingsStore::PortNumberFromText("3", 1), 3);
    EXPECT_EQ(SettingsStore::PortNumberFromText("12", 1), 1);
    EXPECT_EQ(SettingsStore::PortNumberFromText("@", 1), 16);
}

TEST_F(SettingsStoreTest, TextAboveAsciiRoundTripsAsUtf8)
{
    SettingsStore store(IniPath());
    std::string all;
    for (int c = 1; c < 128; ++c)
        all.push_back(static_cast<char>(c));
    store.WriteSetting("Properties", "Bytes", all);
    store.WriteSetting("Properties", "Text", "M\xC3\xBCller \xC2\xB0 \xE2\x82\xAC \xE6\x97\xA5"); // "Müller ° € 日"
    SettingsStore other(IniPath());
    EXPECT_EQ(other.ReadSetting("Properties", "Bytes", ""), all);
    EXPECT_EQ(other.ReadSetting("Properties", "Text", ""), "M\xC3\xBCller \xC2\xB0 \xE2\x82\xAC \xE6\x97\xA5");
}

TEST_F(SettingsStoreTest, TextsThatLookSpecialStayText)
{
    SettingsStore store(IniPath());
    const char* texts[] = {"@",        "@@",         "@ByteArray(x)", "a;b",         "#x",
                           " padded ", "\"quoted\"", "1,2",           "back\\slash", "True"};
    for (const char* t : texts) {
        store.WriteSetting("Properties", "Odd", t);
        EXPECT_EQ(SettingsStore(IniPath()).ReadSetting("Properties", "Odd", "?"), t);
    }
}

TEST(SettingsStorePerUser, EmptyPathIsThePerUserFile)
{
    // Keep the test away from the real per-user file, and put the path back afterwards.
    QFileInfo usual(
        QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Tallion"), QStringLiteral("Tallion"))
            .fileName());
    const QString usualRoot = usual.dir().absolutePath().section(QLatin1Char('/'), 0, -2);
    QTemporaryDir home;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, home.path());

    SettingsStore store;
    EXPECT_EQ(store.FilePath(), home.filePath(QStringLiteral("Tallion/Tallion.ini")));
    store.WriteSetting("Properties", "Banner", "4");
    EXPECT_EQ(SettingsStore().ReadSetting("properties", "banner", "3"), "4");
    EXPECT_TRUE(QFile::exists(home.filePath(QStringLiteral("Tallion/Tallion.ini"))));

    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, usualRoot);
    EXPECT_EQ(SettingsStore().FilePath(), usual.filePath());
}

TEST_F(SettingsStoreTest, OnlyAnIniFileIsTakenAsTheSettingsFile)
{
    const struct {
        const char* what;
        QByteArray text;
        bool refused;
    } cases[] = {
        {"hand-edited settings", "; station 4\r\n[Properties]\r\nBanner=7\r\n\r\n# port\r\nRZ4PortNumber = 2\r\n",
         false},
        {"empty file", "", false},
        {"result log", "\tTime and date\tType\tNr.\r\n\t14:05:33  08-12-2026\tSingle Site\t01\r\n", true},
        {"NUL byte", QByteArray("[Properties]\nBanner=7\n\0\n", 24), true},
        {"escape byte", "[Properties]\nBanner=\x1b[7m\n", true},
        {"text without keys", "[Properties]\nhello world\n", true},
        {"unclosed section", "[Properties\nBanner=7\n", true},
    };
    for (const auto& c : cases) {
        WriteFile(c.text);
        EXPECT_EQ(SettingsFileProblem(IniPath()).has_value(), c.refused) << c.what;
    }
    QFile::remove(IniPath());
    EXPECT_FALSE(SettingsFileProblem(IniPath())) << "a missing file is made by the first setting";
    EXPECT_TRUE(SettingsFileProblem(dir_.filePath("no/such/tallion.ini"))) << "but its folder must exist";
    EXPECT_TRUE(SettingsFileProblem(dir_.path())) << "a folder";
}

TEST_F(SettingsStoreTest, AFailedWriteIsToldOncePerFault)
{
    struct Notices : OperatorNotices {
        QStringList told;
        void Notify(const QString& text, const QString&, MessageIcon) override { told << text; }
    } notices;
    // A file where the folder should be: nothing below it can be written.
    WriteFile("x");
    SettingsStore store(IniPath() + "/settings.ini");
    store.SetNotices(&notices);
    store.WriteSetting("Properties", "Banner", "7");
    store.WriteSetting("Properties", "Banner", "8");
    ASSERT_EQ(notices.told.size(), 1);
    EXPECT_TRUE(notices.told[0].startsWith("Settings could not be saved to " + IniPath() + "/settings.ini: "))
        << notices.told[0].toStdString();
}

TEST_F(SettingsStoreTest, LogPathsInAnyLanguageReachTheFileSystemAsWritten)
{
    struct Case {
        const char* what;
        QByteArray iniValue;  // as the INI file holds it
        std::string name;     // the file name the station uses (bytes)
        bool rewrittenAsUtf8; // a value in another encoding makes the store rewrite the file
    } cases[] = {
        {"accented, UTF-8", "caf\xC3\xA9.dif", "caf\xC3\xA9.dif", false},
        {"euro sign", "a\xE2\x82\xAC.dif", "a\xE2\x82\xAC.dif", false},
        {"Japanese", "\xE6\x97\xA5\xE6\x9C\xAC.dif", "\xE6\x97\xA5\xE6\x9C\xAC.dif", false},
        {"a hand edit in Latin-1", "caf\xE9.dif", "caf\xC3\xA9.dif", true},
    };
    const std::string folder = QFile::encodeName(dir_.path()).toStdString() + "/";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // A file of its own for each case: the settings library takes a file of the same size and
        // time stamp as one it has read for unchanged, and the cases are written within a second.
        iniName_ = QString::fromLatin1(c.what) + QStringLiteral(".ini");
        WriteFile("[Properties]\nBanner=7\nLogFilePath=" + QFile::encodeName(dir_.path()) + "/" + c.iniValue + "\n");
        SettingsStore store(IniPath());
        const std::string path = SettingsStore::PathFromText(store.ReadSetting("Properties", "LogFilePath", ""));
        EXPECT_EQ(path, folder + c.name);
        EXPECT_EQ(store.ReadSetting("Properties", "Banner", ""), "7") << "no other value is lost";
        EXPECT_TRUE(FileText().contains("LogFilePath=" + QByteArray::fromStdString(folder + c.name)));
        EXPECT_EQ(c.rewrittenAsUtf8, !FileText().contains(c.iniValue));

        // Chosen again in the station, the path is stored and read back unchanged.
        store.WriteSetting("Properties", "LogFilePath", SettingsStore::TextFromPath(path));
        EXPECT_EQ(SettingsStore::PathFromText(SettingsStore(IniPath()).ReadSetting("Properties", "LogFilePath", "")),
                  path);
        QFile::remove(IniPath());
    }
}
