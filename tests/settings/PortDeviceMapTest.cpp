#include "settings/PortDeviceMap.h"
#include "settings/SettingsStore.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class PortDeviceMapTest : public ::testing::Test {
protected:
    QTemporaryDir dir_;
    SettingsStore settings_{dir_.filePath(QStringLiteral("tallion.ini"))};
};

} // namespace

TEST_F(PortDeviceMapTest, DefaultIsTtySOfPortMinusOne)
{
    PortDeviceMap map(settings_);
    EXPECT_EQ(map.DeviceFor(1), QStringLiteral("/dev/ttyS0"));
    EXPECT_EQ(map.DeviceFor(2), QStringLiteral("/dev/ttyS1"));
    EXPECT_EQ(map.DeviceFor(16), QStringLiteral("/dev/ttyS15"));
}

TEST_F(PortDeviceMapTest, SettingBeatsDefault)
{
    settings_.WriteSetting("Properties", "PortDevice1", "/dev/ttyUSB0");
    PortDeviceMap map(settings_);
    EXPECT_EQ(map.DeviceFor(1), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(map.DeviceFor(2), QStringLiteral("/dev/ttyS1"));
}

TEST_F(PortDeviceMapTest, SettingIsReadEachTimeAndIgnoresCase)
{
    PortDeviceMap map(settings_);
    EXPECT_EQ(map.DeviceFor(12), QStringLiteral("/dev/ttyS11"));
    settings_.WriteSetting("properties", "portdevice12", "/dev/ttyACM0");
    EXPECT_EQ(map.DeviceFor(12), QStringLiteral("/dev/ttyACM0"));
}

TEST_F(PortDeviceMapTest, EmptySettingFallsBackToDefault)
{
    settings_.WriteSetting("Properties", "PortDevice3", "");
    PortDeviceMap map(settings_);
    EXPECT_EQ(map.DeviceFor(3), QStringLiteral("/dev/ttyS2"));
}

TEST_F(PortDeviceMapTest, OverrideBeatsSetting)
{
    settings_.WriteSetting("Properties", "PortDevice1", "/dev/ttyUSB0");
    PortDeviceMap map(settings_);
    map.Override(1, QStringLiteral("/dev/pts/3"));
    map.Override(4, QStringLiteral("/dev/pts/4"));
    EXPECT_EQ(map.DeviceFor(1), QStringLiteral("/dev/pts/3"));
    EXPECT_EQ(map.DeviceFor(4), QStringLiteral("/dev/pts/4"));
    EXPECT_EQ(map.DeviceFor(2), QStringLiteral("/dev/ttyS1"));
    map.Override(1, QStringLiteral("/dev/pts/9"));
    EXPECT_EQ(map.DeviceFor(1), QStringLiteral("/dev/pts/9"));
}

TEST_F(PortDeviceMapTest, PortsOutsideRangeHaveNoDevice)
{
    PortDeviceMap map(settings_);
    map.Override(0, QStringLiteral("/dev/pts/1"));
    map.Override(17, QStringLiteral("/dev/pts/1"));
    EXPECT_TRUE(map.DeviceFor(0).isEmpty());
    EXPECT_TRUE(map.DeviceFor(17).isEmpty());
    EXPECT_TRUE(map.DeviceFor(-1).isEmpty());
}

TEST(PortDeviceMapParse, ParsePortOptionTable)
{
    struct Row {
        const char* text;
        bool ok;
        int port;
        const char* path;
    };
    const Row rows[] = {
        {"1=/dev/pts/3", true, 1, "/dev/pts/3"},
        {"16=/dev/ttyUSB0", true, 16, "/dev/ttyUSB0"},
        {"2=/tmp/a=b", true, 2, "/tmp/a=b"},
        {"09=/dev/x", true, 9, "/dev/x"},
        {"0=/dev/pts/3", false, 0, ""},
        {"17=/dev/pts/3", false, 0, ""},
        {"-1=/dev/pts/3", false, 0, ""},
        {"x=/dev/pts/3", false, 0, ""},
        {"1x=/dev/pts/3", false, 0, ""},
        {"=/dev/pts/3", false, 0, ""},
        {"1=", false, 0, ""},
        {"1", false, 0, ""},
        {"/dev/pts/3", false, 0, ""},
        {"", false, 0, ""},
    };
    for (const Row& r : rows) {
        int port = -7;
        QString path = QStringLiteral("unchanged");
        const bool ok = PortDeviceMap::ParsePortOption(QString::fromLatin1(r.text), port, path);
        EXPECT_EQ(ok, r.ok) << r.text;
        if (r.ok) {
            EXPECT_EQ(port, r.port) << r.text;
            EXPECT_EQ(path, QString::fromLatin1(r.path)) << r.text;
        } else {
            EXPECT_EQ(port, -7) << r.text;
            EXPECT_EQ(path, QStringLiteral("unchanged")) << r.text;
        }
    }
}
