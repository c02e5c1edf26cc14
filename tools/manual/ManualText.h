#pragma once

// The user manual as one Markdown text: a contents table and the numbered chapters, read from
// the chapter files in the order given. (The title page is drawn by the book.)

#include <QString>
#include <QStringList>
#include <vector>

struct ManualHeading {
    int level = 1; // 1 chapter, 2 section
    QString text;  // numbered, as printed ("3.2 The scale port")
};

struct ManualText {
    QString markdown;
    std::vector<ManualHeading> headings; // every chapter and section, in order
    QString error;                       // empty when every chapter was read
};

// The contents table has one row per heading; its page cells hold kPagePlaceholder until the
// pages are known.
inline constexpr char kPagePlaceholder[] = "000";

ManualText ComposeManual(const QStringList& chapterFiles);
