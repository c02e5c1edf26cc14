#pragma once

// Lays the composed manual out on A4 pages (title page, contents with page numbers, each chapter
// on a new page, a footer with the page number) and writes it as a PDF.

#include "tools/manual/ManualText.h"

#include <QString>

// Returns what went wrong, or an empty text when the PDF was written.
QString WriteManualPdf(const ManualText& manual, const QString& title, const QString& subtitle, const QString& pdfPath);
