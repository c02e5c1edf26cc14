#include "weighing/ScaleOptions.h"

#include "weighing/ScaleModels.h"

HeaderScaleOptions& ScaleOptions::HeaderOptions(WeightSource model)
{
    const ScaleModel* entry = ScaleModelOf(model);
    return entry && entry->runningHeader ? this->*entry->runningHeader : generic;
}

const HeaderScaleOptions& ScaleOptions::HeaderOptions(WeightSource model) const
{
    return const_cast<ScaleOptions*>(this)->HeaderOptions(model);
}

std::string StartPositionKey(WeightSource model)
{
    const ScaleModel* entry = ScaleModelOf(model);
    return entry && entry->startPositionKey ? entry->startPositionKey : std::string();
}

void ReadScaleOptions(WeightSource source, const SettingReader& read, ScaleOptions& options)
{
    const ScaleModel* entry = ScaleModelOf(source);
    if (entry && entry->readOptions)
        entry->readOptions(*entry, read, options);
}

std::string DefaultWeightPortSetting(WeightSource source)
{
    const ScaleModel* entry = ScaleModelOf(source);
    // A source without a scale line of its own gets the generic scale's.
    if (!entry || !entry->lineDefaults)
        entry = ScaleModelOf(WeightSource::Generic);
    return entry->lineDefaults;
}
