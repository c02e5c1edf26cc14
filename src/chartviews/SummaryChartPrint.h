#pragma once
// The summary's charts on paper: a page of their own after the summary's text.

#include "charts/SummaryChartData.h"

class QPagedPaintDevice;
class QPainter;

// Starts a new page on `device` (on which `painter` is active) and draws the charts across it,
// `borderTwips` from every edge, with labels of `pointSize` points. False when the device
// refused the page.
bool PrintSummaryCharts(QPagedPaintDevice& device, QPainter& painter, const SummaryChartData& data, double borderTwips,
                        double pointSize);
