// A device held by one port is refused to a second port under another name (a link to it), in
// words naming the device and its holder; once the first lets go, the second opens it.

#include "probe/SerialPortQt.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

TEST(SerialPortHeld, ADeviceHeldUnderAnotherNameIsToldWithItsHolder)
{
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    const QString device = QString::fromLocal8Bit(::ptsname(master));
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("probe"));
    ASSERT_EQ(::symlink(QFile::encodeName(device).constData(), QFile::encodeName(link).constData()), 0);

    SerialPortQt first([&](int) { return device; });
    ASSERT_TRUE(first.SetPortOpen(true)) << first.LastError();
    SerialPortQt second([&](int) { return link; });
    EXPECT_FALSE(second.SetPortOpen(true));
    EXPECT_EQ(second.LastError(), QStringLiteral("%1 (the device %2) is in use by %3 (process %4); close it there or "
                                                 "choose another port.")
                                      .arg(link, device, QCoreApplication::applicationName())
                                      .arg(::getpid())
                                      .toStdString());
    EXPECT_FALSE(second.PortOpen());

    first.SetPortOpen(false);
    EXPECT_TRUE(second.SetPortOpen(true)) << second.LastError();
    second.SetPortOpen(false);
    ::close(master);
}
