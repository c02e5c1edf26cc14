#include "resources/StringTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include "support/TestPaths.h"
#include <algorithm>
#include <string>
#include <vector>

namespace {

// The ids as they stand in the table's source, in order. The look-up is a binary search, so the
// table must be sorted with each id once.
std::vector<int> IdsInSource()
{
    const QString path = SourceFile("src/resources/StringTable.cpp");
    QFile file(path);
    std::vector<int> ids;
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return ids;
    const QRegularExpression entry(QStringLiteral("^\\s*\\{(\\d+),\\s*\""));
    while (!file.atEnd()) {
        const auto m = entry.match(QString::fromLatin1(file.readLine()));
        if (m.hasMatch())
            ids.push_back(m.captured(1).toInt());
    }
    return ids;
}

} // namespace

TEST(StringTable, EntriesAreSortedAndUnique)
{
    const std::vector<int> ids = IdsInSource();
    ASSERT_FALSE(ids.empty()) << "table source not found";
    ASSERT_GT(ids.size(), 200u);
    for (std::size_t i = 1; i < ids.size(); ++i)
        EXPECT_LT(ids[i - 1], ids[i]) << "at entry " << i;
    for (int id : ids)
        EXPECT_TRUE(HasResourceString(id)) << id;
    EXPECT_EQ(ids.front(), 1001);
    EXPECT_EQ(ids.back(), 1285);
}

TEST(StringTable, EveryIdBetweenFirstAndLastIsFoundOrAbsent)
{
    // Binary search finds each entry; ids in the gaps have none.
    const std::vector<int> ids = IdsInSource();
    ASSERT_FALSE(ids.empty()) << "table source not found";
    for (int id = 990; id <= 1300; ++id) {
        const bool listed = std::find(ids.begin(), ids.end(), id) != ids.end();
        EXPECT_EQ(HasResourceString(id), listed) << id;
        EXPECT_EQ(ResourceString(id).empty(), !listed) << id;
    }
}

TEST(StringTable, PlaceholdersHoldTheirOwnId)
{
    EXPECT_EQ(ResourceString(1024), "1024");
    for (int id : {1019, 1024, 1025, 1026, 1027, 1028, 1029, 1079, 1246})
        EXPECT_EQ(ResourceString(id), std::to_string(id));
}

TEST(StringTable, ExactEntries)
{
    EXPECT_EQ(ResourceString(1001), "&File");
    EXPECT_EQ(ResourceString(1014), "&Exit");
    EXPECT_EQ(ResourceString(1081), "Kestrane Tallion Systems LTD");
    EXPECT_EQ(ResourceString(1099), "Connect Probe");
    EXPECT_EQ(ResourceString(1103), "You are to quit this program. Are you sure?");
    EXPECT_EQ(ResourceString(1124), "LogFile (*.dif)|*.dif|ALL FILES (*.*)|*.*");
    EXPECT_EQ(ResourceString(1152), "Serial port to probe");
    EXPECT_EQ(ResourceString(1285), "Colour Calibration");
}

TEST(StringTable, SpacesInsideEntriesAreKept)
{
    EXPECT_EQ(ResourceString(1244), "Class         Count       Weight (kg)      Yield (kg)      Lean Meat%");
    EXPECT_EQ(ResourceString(1256), "                           Total           Total             Average");
    EXPECT_EQ(ResourceString(1282), "Class         Count");
}

TEST(StringTable, MissingIdIsEmpty)
{
    EXPECT_FALSE(HasResourceString(1012));
    EXPECT_EQ(ResourceString(1012), "");
    EXPECT_FALSE(HasResourceString(0));
    EXPECT_EQ(ResourceString(0), "");
    EXPECT_EQ(ResourceString(-1), "");
    EXPECT_EQ(ResourceString(1000), "");
    EXPECT_EQ(ResourceString(1286), "");
    EXPECT_EQ(ResourceString(65535), "");
    EXPECT_TRUE(ResourceText(1012).isEmpty());
}

TEST(StringTable, ResourceTextIsTheSameEntryForWidgets)
{
    EXPECT_EQ(ResourceText(1014), QStringLiteral("&Exit"));
    EXPECT_EQ(ResourceText(1244).toLatin1().toStdString(), ResourceString(1244));
}
