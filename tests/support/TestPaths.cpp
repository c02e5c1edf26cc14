#include "support/TestPaths.h"

QString BuiltProgram(const char* name)
{
    return QStringLiteral(TALLION_BUILD_DIR "/") + QLatin1String(name);
}

QString TestDataFolder()
{
    return QStringLiteral(TALLION_TEST_DATA_DIR);
}

QString TestDataFile(const QString& name)
{
    return TestDataFolder() + u'/' + name;
}

QString SourceFile(const char* relative)
{
    return QStringLiteral(TALLION_SOURCE_DIR "/") + QLatin1String(relative);
}
