#pragma once
// Reading a log file a piece at a time with memory that does not grow with the file: only a
// regular file is read (a FIFO or device could block or never end), it is opened without
// blocking, and a line longer than kLongestLineKept is cut there and marked with "...", so that
// a pasted report of gigabytes on one line neither fills the memory nor reaches a widget.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

// The most bytes of one line that are kept; the rest of a longer line is dropped.
constexpr size_t kLongestLineKept = 4000;

// Calls `lines` with runs of whole lines, in order, each with its line end (the file's last line
// may lack one). Returns false with `error` (the platform's text) when the file cannot be opened
// or read or is not a regular file; `lines` may then have been called for part of it.
// `crEndsLine`: every CR is given as LF, so that lines ended by CR alone (an old editor's file)
// are lines too; a CR LF then ends its line and leaves an empty one after it.
bool ReadLogLines(const std::string& path, const std::function<void(std::string_view)>& lines, std::string* error,
                  bool crEndsLine = false);

// Whether `shown`, a line as ReadLogLines gave it (line end removed), is the file's line `stored`
// (line end removed too): the same bytes, or the first kLongestLineKept of a longer line and "...".
bool IsLineShownAs(std::string_view stored, std::string_view shown);
