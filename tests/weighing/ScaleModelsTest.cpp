// The scale-model table's rules: what holds for every entry, not what the entries are.

#include "weighing/ScaleModels.h"
#include "probe/SerialPort.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

std::string Name(const ScaleModel& model)
{
    return model.menuEntry;
}

// A store that holds nothing and notes every key asked for.
struct RecordingReader {
    std::vector<std::string> keys;
    SettingReader Reader()
    {
        return [this](const std::string& key, const std::string& defaultText) {
            keys.push_back(key);
            return defaultText;
        };
    }
};

} // namespace

TEST(ScaleModels, StoredNumbersAreUniqueAndReadBackAsTheirSource)
{
    std::set<int> numbers;
    for (const ScaleModel& model : ScaleModels()) {
        if (!model.source)
            continue;
        const int number = static_cast<int>(*model.source);
        EXPECT_TRUE(numbers.insert(number).second) << Name(model);
        EXPECT_EQ(ScaleModelOf(*model.source), &model) << Name(model);
        // Only what a menu entry can choose is taken back from the store.
        EXPECT_EQ(StoredWeightSource(number), model.entryChoosesSource ? model.source : std::nullopt) << Name(model);
    }
    // The numbers "WgtScaleModel" has always held; 5 was never used, 9 and 10 are never chosen.
    const std::map<int, std::optional<WeightSource>> stored{
        {0, std::nullopt},
        {1, WeightSource::NoWeight},
        {2, WeightSource::ManualInput},
        {3, WeightSource::MettlerToledo},
        {4, WeightSource::Wedderburn},
        {5, std::nullopt},
        {6, WeightSource::Generic},
        {7, WeightSource::EV2000},
        {8, WeightSource::TU9000},
        {9, std::nullopt},
        {10, std::nullopt},
        {11, std::nullopt},
    };
    for (const auto& [number, source] : stored) {
        EXPECT_EQ(StoredWeightSource(number), source) << number;
    }
    EXPECT_EQ(ScaleModelOf(static_cast<WeightSource>(5)), nullptr);
}

TEST(ScaleModels, EntriesAndDialogsBelongToOneModelEach)
{
    std::set<std::string> entries;
    std::set<std::string> dialogs;
    for (const ScaleModel& model : ScaleModels()) {
        EXPECT_TRUE(entries.insert(model.menuEntry).second) << Name(model);
        EXPECT_TRUE(model.captionId != 0 || (model.caption && *model.caption)) << Name(model);
        if (!model.dialog)
            continue;
        EXPECT_TRUE(dialogs.insert(model.dialog).second) << Name(model);
        EXPECT_EQ(ScaleModelOfDialog(model.dialog), &model) << Name(model);
    }
    EXPECT_EQ(ScaleModelOfDialog("frmRZ4"), nullptr);
}

TEST(ScaleModels, WhatAModelNeedsComesTogether)
{
    for (const ScaleModel& model : ScaleModels()) {
        SCOPED_TRACE(Name(model));
        // A scale whose weights are read has a source to store, a dialog, a line and options.
        if (model.parse) {
            EXPECT_TRUE(model.source && model.entryChoosesSource);
            EXPECT_NE(model.dialog, nullptr);
            EXPECT_NE(model.lineDefaults, nullptr);
            EXPECT_NE(model.readOptions, nullptr);
        }
        // An entry that only opens its dialog stands for no source of weights.
        if (!model.entryChoosesSource) {
            EXPECT_NE(model.dialog, nullptr);
            EXPECT_EQ(model.parse, nullptr);
        }
        // Every dialog's model has a line to set up, and its defaults are port settings.
        EXPECT_EQ(model.dialog != nullptr, model.lineDefaults != nullptr);
        if (model.lineDefaults) {
            SerialSettings settings;
            EXPECT_TRUE(ParseSerialSettings(model.lineDefaults, settings)) << model.lineDefaults;
        }
        // A model frames its messages by flags or by a header, never both.
        EXPECT_FALSE(!model.flags.empty() && model.startPositionKey);
        if (model.runningHeader || model.errorPrefix) {
            EXPECT_NE(model.startPositionKey, nullptr);
        }
        EXPECT_EQ(model.errorPrefix != nullptr, model.runningHeader != nullptr);
        if (model.source) {
            EXPECT_EQ(HasScaleParser(*model.source), model.parse != nullptr);
        }
    }
}

TEST(ScaleModels, ReadersReadOnlyTheirModelsKeysIntoTheirModelsOptions)
{
    for (const ScaleModel& model : ScaleModels()) {
        if (!model.readOptions)
            continue;
        SCOPED_TRACE(Name(model));
        std::vector<std::string> own;
        for (const ScaleFlag& flag : model.flags)
            own.push_back(flag.key);
        if (model.startPositionKey)
            own.insert(own.end(), {kHeaderCharacterKey, model.startPositionKey, kFactorKey});
        RecordingReader store;
        ScaleOptions options;
        // Every flag on beforehand: an empty store turns the model's own off and no other.
        for (const ScaleModel& other : ScaleModels())
            for (const ScaleFlag& flag : other.flags)
                flag.set(options, true);
        model.readOptions(model, store.Reader(), options);
        EXPECT_EQ(store.keys, own);
        for (const ScaleModel& other : ScaleModels())
            for (const ScaleFlag& flag : other.flags) {
                EXPECT_EQ(flag.get(options), &other != &model) << flag.key;
            }
        if (model.runningHeader) {
            const HeaderScaleOptions& read = options.*model.runningHeader;
            EXPECT_EQ(read.header, model.headerDefaults.header);
            EXPECT_EQ(read.startPosition, model.headerDefaults.startPosition);
            EXPECT_EQ(read.factor, model.headerDefaults.factor);
        }
    }
}

TEST(ScaleModels, ParsersSayNothingOfAnEmptyLine)
{
    const ScaleOptions options;
    for (const ScaleModel& model : ScaleModels())
        if (model.parse) {
            EXPECT_FALSE(model.parse(model, std::string(), options).HasWeight()) << Name(model);
        }
}
