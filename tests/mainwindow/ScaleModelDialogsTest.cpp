// The scale-model table as the windows use it: each model's menu entry is in the menu tree with
// its caption, each weight dialog belongs to one model, and what a dialog stores is what the
// scale set-up reads back.

#include "mainwindow/MainMenuRows.h"
#include "settings/PortDialogModel.h"
#include "support/FakeSerialPort.h"
#include "weighing/ScaleModels.h"

#include <gtest/gtest.h>

#include <map>
#include <string_view>

TEST(ScaleModelDialogs, EveryModelHasItsCheckableWeightMenuEntry)
{
    std::map<std::string_view, const MenuRow*> rows;
    for (const MenuRow& row : MainMenuRows())
        if (row.name)
            rows[row.name] = &row;
    for (const ScaleModel& model : ScaleModels()) {
        SCOPED_TRACE(model.menuEntry);
        ASSERT_TRUE(rows.count(model.menuEntry));
        const MenuRow& row = *rows[model.menuEntry];
        EXPECT_EQ(row.caption, model.captionId ? std::to_string(model.captionId) : std::string(model.caption));
        EXPECT_TRUE(row.flags & kMenuCheckable);
    }
}

TEST(ScaleModelDialogs, EachWeightDialogBelongsToOneModel)
{
    for (int i = 0; i <= static_cast<int>(PortDialogKind::Tenso); ++i) {
        const auto kind = static_cast<PortDialogKind>(i);
        const PortDialogTraits& traits = TraitsOf(kind);
        SCOPED_TRACE(traits.objectName);
        EXPECT_EQ(PortDialogNamed(traits.objectName), kind);
        const ScaleModel* model = ScaleModelOfDialog(traits.objectName);
        EXPECT_EQ(model != nullptr, traits.weightPort);
        if (model) {
            EXPECT_TRUE(!model->source || PortDialogForSource(*model->source) == kind);
            // The header fields show for the models that frame by a header.
            EXPECT_EQ(traits.parsingSource != ParsingSource::None, model->startPositionKey != nullptr);
        }
    }
    EXPECT_EQ(PortDialogForSource(WeightSource::ManualInput), std::nullopt);
}

TEST(ScaleModelDialogs, WhatADialogStoresIsWhatTheScaleSetUpReads)
{
    for (const ScaleModel& model : ScaleModels()) {
        if (!model.readOptions)
            continue;
        SCOPED_TRACE(model.menuEntry);
        const std::optional<PortDialogKind> kind = PortDialogForSource(*model.source);
        ASSERT_TRUE(kind);
        // Every flag on, and header fields unlike any default.
        ScaleOptions options;
        for (const ScaleFlag& flag : model.flags)
            flag.set(options, true);
        const HeaderScaleOptions fields{"#", "7", "0.5"};
        FakeSerialPort port;
        std::map<std::string, std::string> store;
        for (const StoredKey& stored : PortDialogKeys(*kind, port, fields, options))
            store[stored.key] = stored.text;

        ScaleOptions read;
        model.readOptions(
            model,
            [&](const std::string& key, const std::string& fallback) {
                const auto it = store.find(key);
                return it == store.end() ? fallback : it->second;
            },
            read);
        for (const ScaleFlag& flag : model.flags)
            EXPECT_TRUE(flag.get(read)) << flag.key;
        if (model.runningHeader) {
            const HeaderScaleOptions& header = read.*model.runningHeader;
            EXPECT_EQ(header.header, "#");
            EXPECT_EQ(header.startPosition, "7");
            EXPECT_EQ(header.factor, "0.5");
        }
    }
}
