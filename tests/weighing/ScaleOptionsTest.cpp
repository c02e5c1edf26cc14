// Scale options read from the settings store as the scale port is set up.

#include "weighing/ScaleOptions.h"

#include <gtest/gtest.h>

#include <map>

TEST(ScaleOptions, ReadsTheKeysOfTheSourceInUse)
{
    // "0" is off, any other text on; absent keys give each reader's default.
    const std::map<std::string, std::string> stored{
        {"SISO", "1"},
        {"STX", "0"},
        {"CheckSum", "yes"},
        {"HeaderCode", ""},
        {"HeaderCharacter", "W"},
        {"EV2000StartPosition", "3"},
        {"WeightStartPosition", "5"},
    };
    const SettingReader read = [&](const std::string& key, const std::string& defaultText) {
        const auto it = stored.find(key);
        return it == stored.end() ? defaultText : it->second;
    };

    ScaleOptions options;
    ReadScaleOptions(WeightSource::MettlerToledo, read, options);
    EXPECT_FALSE(options.toledo.STXon);
    EXPECT_TRUE(options.toledo.SISOon);
    EXPECT_TRUE(options.toledo.ChecksumOn);

    ReadScaleOptions(WeightSource::Wedderburn, read, options);
    EXPECT_TRUE(options.wedderburn.Hcode); // present but empty: not "0"
    EXPECT_FALSE(options.wedderburn.StableCode);

    const struct {
        WeightSource model;
        const char* header;
        const char* start;
        const char* factor;
    } cases[] = {
        {WeightSource::Generic, "W", "5", "1"},
        {WeightSource::EV2000, "W", "3", "1"},
        {WeightSource::TU9000, "W", "20", "1"},
    };
    for (const auto& c : cases) {
        ScaleOptions fresh;
        ReadScaleOptions(c.model, read, fresh);
        const HeaderScaleOptions& h = fresh.HeaderOptions(c.model);
        EXPECT_EQ(h.header, c.header) << StartPositionKey(c.model);
        EXPECT_EQ(h.startPosition, c.start) << StartPositionKey(c.model);
        EXPECT_EQ(h.factor, c.factor) << StartPositionKey(c.model);
    }
    // Reading one model's options leaves the others alone.
    ScaleOptions one;
    ReadScaleOptions(WeightSource::EV2000, read, one);
    EXPECT_EQ(one.generic.header, "$");
    EXPECT_EQ(one.tu9000.startPosition, "20");
}
