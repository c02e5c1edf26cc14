// Where the Help menu finds Manual.pdf: working folder, beside the program, the installation.

#include "resources/UserManualPath.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void Touch(const QString& path)
{
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

} // namespace

TEST(UserManualPath, WorkingFolderThenProgramFolderThenInstallation)
{
    QTemporaryDir root;
    const QString work = root.filePath(QStringLiteral("work"));
    const QString bin = root.filePath(QStringLiteral("usr/bin"));
    QDir().mkpath(work);
    QDir().mkpath(bin);

    EXPECT_EQ(UserManualPath(work, bin), "Manual.pdf"); // nowhere: the name the message gives

    Touch(root.filePath(QStringLiteral("usr/share/tallion/Manual.pdf")));
    EXPECT_EQ(UserManualPath(work, bin), root.filePath(QStringLiteral("usr/share/tallion/Manual.pdf")));

    Touch(root.filePath(QStringLiteral("usr/bin/Manual.pdf")));
    EXPECT_EQ(UserManualPath(work, bin), root.filePath(QStringLiteral("usr/bin/Manual.pdf")));

    Touch(root.filePath(QStringLiteral("work/Manual.pdf")));
    EXPECT_EQ(UserManualPath(work, bin), "Manual.pdf");
}
