// The scale-model table's rules: what holds for every entry, not what the entries are.

#include "weighing/ScaleModels.h"
#include "probe/SerialPort.h"

#include <gtest/gtest.h>

#include <set>

TEST(ScaleModels, StoredNumbersAreUniqueAndReadBackAsTheirSource)
{
    std::set<int> numbers;
    for (const ScaleModel& model : ScaleModels())
        if (model.source) {
            EXPECT_TRUE(numbers.insert(static_cast<int>(*model.source)).second) << model.menuEntry;
            EXPECT_EQ(ScaleModelOf(*model.source), &model) << model.menuEntry;
        }
    // The numbers "WgtScaleModel" has always held; 5 was never used, 9 and 10 are never chosen.
    using W = WeightSource;
    const std::optional<WeightSource> none, stored[] = {none,          W::NoWeight, W::ManualInput, W::MettlerToledo,
                                                        W::Wedderburn, none,        W::Generic,     W::EV2000,
                                                        W::TU9000,     none,        none,           none};
    for (int number = 0; number < 12; ++number)
        EXPECT_EQ(StoredWeightSource(number), stored[number]) << number;
    EXPECT_EQ(ScaleModelOf(static_cast<WeightSource>(5)), nullptr);
}

TEST(ScaleModels, EachModelHoldsTogether)
{
    std::set<std::string> entries;
    std::set<std::string> dialogs;
    for (const ScaleModel& model : ScaleModels()) {
        SCOPED_TRACE(model.menuEntry);
        EXPECT_TRUE(entries.insert(model.menuEntry).second);
        EXPECT_TRUE(model.captionId != 0 || (model.caption && *model.caption));
        if (model.dialog.objectName) {
            EXPECT_TRUE(dialogs.insert(model.dialog.objectName).second);
            EXPECT_EQ(ScaleModelOfDialog(model.dialog.objectName), &model);
        }
        // A scale whose weights are read has a source to store, a dialog, a line and options.
        if (model.parse) {
            EXPECT_TRUE(model.source && model.entryChoosesSource && model.dialog.objectName && model.readOptions);
            EXPECT_FALSE(model.parse(model, std::string(), ScaleOptions()).HasWeight()) << "an empty line";
        }
        // An entry that only opens its dialog stands for no source of weights.
        EXPECT_TRUE(model.entryChoosesSource || (model.dialog.objectName && !model.parse));
        // Every dialog's model has a line to set up, and its defaults are port settings.
        EXPECT_EQ(model.dialog.objectName != nullptr, model.lineDefaults != nullptr);
        SerialSettings settings;
        EXPECT_TRUE(!model.lineDefaults || ParseSerialSettings(model.lineDefaults, settings));
        // A model frames its messages by flags or by a header, never both.
        EXPECT_FALSE(!model.flags.empty() && model.startPositionKey);
        EXPECT_TRUE(!model.runningHeader || model.startPositionKey);
        EXPECT_EQ(model.errorPrefix != nullptr, model.runningHeader != nullptr);
        EXPECT_TRUE(!model.source || HasScaleParser(*model.source) == (model.parse != nullptr));
    }
    EXPECT_EQ(ScaleModelOfDialog("frmRZ4"), nullptr);
}

TEST(ScaleModels, ReadersReadOnlyTheirModelsKeysIntoTheirModelsOptions)
{
    for (const ScaleModel& model : ScaleModels()) {
        if (!model.readOptions)
            continue;
        SCOPED_TRACE(model.menuEntry);
        std::vector<std::string> own;
        for (const ScaleFlag& flag : model.flags)
            own.push_back(flag.key);
        if (model.startPositionKey)
            own.insert(own.end(), {kHeaderCharacterKey, model.startPositionKey, kFactorKey});
        // Every flag on beforehand: an empty store turns the model's own off and no other.
        ScaleOptions options;
        for (const ScaleModel& other : ScaleModels())
            for (const ScaleFlag& flag : other.flags)
                flag.set(options, true);
        std::vector<std::string> asked;
        model.readOptions(
            model,
            [&](const std::string& key, const std::string& fallback) {
                asked.push_back(key);
                return fallback;
            },
            options);
        EXPECT_EQ(asked, own);
        for (const ScaleModel& other : ScaleModels())
            for (const ScaleFlag& flag : other.flags)
                EXPECT_EQ(flag.get(options), &other != &model) << flag.key;
        if (model.runningHeader) {
            const HeaderScaleOptions& read = options.*model.runningHeader;
            EXPECT_EQ(read.header, model.headerDefaults.header);
            EXPECT_EQ(read.startPosition, model.headerDefaults.startPosition);
            EXPECT_EQ(read.factor, model.headerDefaults.factor);
        }
    }
}
