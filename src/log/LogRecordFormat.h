#pragma once
// The result log's text: header line, record lines, display lines of the ten templates, and
// reading stored lines back. Pure text work, no files and no widgets.

#include "probe/CarcassMeasurement.h"

#include <string>

// The 40-title header line, every title followed by TAB, ending in CR LF.
std::string LogHeaderLine();

// The line a record adds to the log (alert, result, long result, "Z" or "C" line), ending in
// TAB CR LF; empty for a kind that writes no line.
std::string LogLineFor(const CarcassMeasurement& record);

// The display line of template 1..10 (comma separated, time and date first); empty outside 1..10.
std::string FormatResultLine(const CarcassMeasurement& record, int templateNumber);

// Value n (0-based) of a stored TAB-separated line; empty when the value is empty, when no TAB
// follows it, or when the line has fewer than n TABs.
std::string LogField(int n, const std::string& line);

// A stored line turned back into a display line of the template, ending in CR LF.
std::string ReadDisplayLine(const std::string& line, int templateNumber);

// A log path as status panel 5 shows it: whole below 33 characters, else up to and including the
// first separator, "...", and from the last separator on. "/" and "\" both count as separators.
std::string ShortenLogPath(const std::string& path);
