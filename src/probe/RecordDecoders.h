#pragma once
// Decoders of the probe's measurement messages into the current measurement record.
//
// Each one empties the record's 38 text fields, fills those of its layout and, where the
// message carries the probe's clock, replaces timeDate. `stationDate` is the station's date
// for that time stamp. None of them rejects a message: short or garbled input leaves the
// affected fields empty.

#include "probe/CarcassMeasurement.h"

#include <QDate>

#include <string>

// "E": basic fat and meat depths.
void DecodeBasicRecord(const std::string& message, CarcassMeasurement& record, const QDate& stationDate);
// "J": basic with RZ4 colour.
void DecodeColourRecord(const std::string& message, CarcassMeasurement& record, const QDate& stationDate);
// "B": two sites.
void DecodeTwoSiteRecord(const std::string& message, CarcassMeasurement& record, const QDate& stationDate);
// "H": two sites with RZ4 colour.
void DecodeTwoSiteColourRecord(const std::string& message, CarcassMeasurement& record, const QDate& stationDate);
// "L": single-site RZ7 quality.
void DecodeSingleSiteQualityRecord(const std::string& message, CarcassMeasurement& record, const QDate& stationDate);
// "M": double-site RZ7 quality.
void DecodeDoubleSiteQualityRecord(const std::string& message, CarcassMeasurement& record, const QDate& stationDate);
// "S": RZ7 colour sample; keeps the station's time.
void DecodeColourSampleRecord(const std::string& message, CarcassMeasurement& record, const QDate& stationDate);
