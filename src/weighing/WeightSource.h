#pragma once
// Where carcass weights come from.

// The numbers are those stored as "WgtScaleModel" and must never change (5 is not used; D410
// and TE1000L have settings dialogs but no menu entry sets them as the source). What each one
// means is in the scale-model table (weighing/ScaleModels.h).
enum class WeightSource : int {
    NoWeight = 1,
    ManualInput = 2,
    MettlerToledo = 3,
    Wedderburn = 4,
    Generic = 6,
    EV2000 = 7,
    TU9000 = 8,
    D410 = 9,
    TE1000L = 10,
};
