// The settings file as a person makes it: path values typed without quotes, a link, a link loop,
// a FIFO, a device, a file far too large, a byte-order mark.

#include "settings/SettingsFileCheck.h"
#include "settings/SettingsStore.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class SettingsFileForms : public ::testing::Test {
protected:
    QString Path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }
    static void Write(const QString& path, const QByteArray& bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    static QByteArray Read(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static bool IsLink(const QString& path)
    {
        struct stat st {};
        return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISLNK(st.st_mode);
    }
    QTemporaryDir dir_;
};

} // namespace

TEST_F(SettingsFileForms, HandWrittenPathsAreReadToTheLineEndAndKeptWhole)
{
    Write(Path("t.ini"), "[Properties]\r\nLogFilePath=/data/shift;night.dif\r\nTxtFilePath = /data/a, b/ \r\n"
                         "portdevice2=/dev/serial/by-id/usb;x\r\nBanner=7 ; the template\r\n");
    const std::pair<const char*, std::string> cases[] = {
        {"LogFilePath", "/data/shift;night.dif"},
        {"txtfilepath", "/data/a, b/"},
        {"PortDevice2", "/dev/serial/by-id/usb;x"},
        {"Banner", "7"}, // not a path: ";" still starts a comment
    };
    SettingsStore store(Path("t.ini"));
    for (int pass = 0; pass < 2; ++pass) {
        for (const auto& [key, value] : cases)
            EXPECT_EQ(store.ReadSetting("Properties", key, "?"), value) << key << " pass " << pass;
        // A write of another key rewrites the file: the paths must come through it whole.
        store.WriteSetting("Properties", "AnaType", pass ? "902" : "903");
    }
    EXPECT_TRUE(Read(Path("t.ini")).contains("LogFilePath=\"/data/shift;night.dif\"")) << Read(Path("t.ini")).data();
}

TEST_F(SettingsFileForms, EachFormIsTakenOrRefusedAtOnce)
{
    const QString real = Path("real.ini");
    Write(real, "[Properties]\nBanner=7\n");
    struct Case {
        const char* what;
        std::function<void(const QString&)> make;
        const char* refusal; // a part of the message; nullptr: taken
    } cases[] = {
        {"link to the settings file",
         [&](const QString& p) { ASSERT_EQ(::symlink(QFile::encodeName(real).constData(), QFile::encodeName(p)), 0); },
         nullptr},
        {"byte-order mark", [](const QString& p) { Write(p, "\xEF\xBB\xBF[Properties]\r\nBanner=7\r\n"); }, nullptr},
        {"CR line ends", [](const QString& p) { Write(p, "[Properties]\rLogFilePath=/a;b\rBanner=7\r"); }, nullptr},
        {"link loop",
         [](const QString& p) { ASSERT_EQ(::symlink(QFile::encodeName(p).constData(), QFile::encodeName(p)), 0); },
         "is a symbolic link that leads round in a loop"},
        {"FIFO", [](const QString& p) { ASSERT_EQ(::mkfifo(QFile::encodeName(p).constData(), 0600), 0); },
         "is not a regular file (a FIFO, device or socket cannot hold the settings)"},
        {"link to a device", [](const QString& p) { ASSERT_EQ(::symlink("/dev/zero", QFile::encodeName(p)), 0); },
         "is not a regular file"},
        {"larger than 1 MiB", [](const QString& p) { Write(p, "[Properties]\nBanner=7\n" + QByteArray(1 << 20, ';')); },
         "is larger than 1 MiB"},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString path = Path("form") + QString::number(++n) + QStringLiteral(".ini");
        c.make(path);
        const bool wasLink = IsLink(path);
        const std::optional<QString> problem = SettingsFileProblem(path);
        SettingsStore store(path);
        if (!c.refusal) {
            EXPECT_FALSE(problem) << problem->toStdString();
            EXPECT_EQ(store.ReadSetting("Properties", "Banner", "?"), "7");
            store.WriteSetting("Properties", "AnaType", "905");
            EXPECT_EQ(SettingsStore(path).ReadSetting("Properties", "AnaType", "?"), "905");
            EXPECT_EQ(SettingsStore(path).ReadSetting("Properties", "Banner", "?"), "7");
        } else {
            ASSERT_TRUE(problem);
            EXPECT_TRUE(problem->startsWith(path + " ")) << problem->toStdString();
            EXPECT_TRUE(problem->contains(QString::fromUtf8(c.refusal))) << problem->toStdString();
            // Even past the start-up check nothing is read from it or put in its place.
            EXPECT_EQ(store.ReadSetting("Properties", "Banner", "?"), "?");
            store.WriteSetting("Properties", "AnaType", "905");
        }
        EXPECT_EQ(IsLink(path), wasLink) << "a link stays a link";
    }
    EXPECT_TRUE(Read(real).contains("AnaType=905")) << "written through the link";
}
