#pragma once
// `tallion summary LOGFILE --chart FILE`: the summary's charts written to an SVG or PNG file of
// 1600 x 1000 pixels, without a display.

#include "charts/SummaryChartData.h"

#include <QByteArray>
#include <cstdio>
#include <optional>
#include <string>

enum class ChartFileFormat { Svg, Png };

// The format named by the file's extension (".svg" or ".png", in any case); nullopt for others.
std::optional<ChartFileFormat> ChartFileFormatOf(const std::string& path);

constexpr int kChartFileWidth = 1600;
constexpr int kChartFileHeight = 1000;

// The file's bytes for `data`; needs a QApplication (the charts are widgets of a scene).
QByteArray SummaryChartFileBytes(const SummaryChartData& data, ChartFileFormat format);

// Reads the log at `logPath`, draws its charts and writes them to `chartPath`, replacing it only
// once the new file is complete. Makes its own application on Qt's offscreen platform when the
// program has none, whatever the environment names. Returns the exit status: 0 written, 1 the
// log cannot be read or the file cannot be written (said on `err`), 2 an unknown extension.
int WriteSummaryChartFile(const std::string& logPath, SummaryMode mode, const std::string& chartPath, FILE* err);
