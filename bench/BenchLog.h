#pragma once
// A generated result log of realistic lines of every kind, for the benchmarks: results of each
// probe kind (short and long lines), weighed and unweighed, cancels, probe errors, "Z" lines,
// lines of the Error column and empty lines, in the proportions of a working line.

#include "log/LogRecordFormat.h"

#include <QFile>
#include <QString>

#include <cstdio>
#include <fstream>
#include <string>

namespace bench {

inline long ResidentKilobytes(const char* field = "VmRSS:")
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0)
            return std::stol(line.substr(std::string(field).size()));
    }
    return -1;
}

inline CarcassMeasurement Record(int n)
{
    static const char kKinds[] = "EEEEJBHLLMS";
    static const char kClasses[] = "SEEUUURROPZ";
    CarcassMeasurement r;
    r.kind = kKinds[n % 11];
    char text[64];
    const int day = 1 + (n / 5000) % 28;
    const int second = 6 * 3600 + (n % 5000) * 7;
    std::snprintf(text, sizeof text, "%02d:%02d:%02d  %02d-%02d-2024", second / 3600, second / 60 % 60, second % 60,
                  day, 1 + n / 140000 % 12);
    r.timeDate = text;
    std::snprintf(text, sizeof text, "%06d", n % 1000000);
    r.carcassCount = text;
    r.carcassType = "01";
    std::snprintf(text, sizeof text, " %4.1f %c", 9.0 + n % 190 / 10.0, n % 3 ? 'A' : 'B');
    r.fat1 = text;
    r.fat2 = r.kind == 'B' || r.kind == 'H' || r.kind == 'M' ? text : "";
    std::snprintf(text, sizeof text, " %4.1f B", 40.0 + n % 330 / 10.0);
    r.meat = text;
    std::snprintf(text, sizeof text, " %4.1f", 45.0 + n % 220 / 10.0);
    r.meatPercent = text;
    r.carcassClass = std::string(1, kClasses[n % 11]);
    if (r.kind == 'J' || r.kind == 'H') {
        r.colour1 = "63";
        r.colour2 = "58";
    }
    if (r.kind == 'L' || r.kind == 'M' || r.kind == 'S') {
        r.rz7Colour1 = "31";
        r.rz7ColourGrade = "2";
        r.rz7Marble1 = "14";
        r.rz7MarbleGrade = "1";
        r.rz7PseNumber = "7";
        r.rz7PseIndicator = "n";
        r.serialNumber = "A017";
        r.rz7Tender = n % 4 ? "3.2" : "";
        r.rz7TenderGrade = n % 4 ? "2" : "";
    }
    if (n % 2) {
        std::snprintf(text, sizeof text, " %5.1f", 70.0 + n % 500 / 10.0);
        r.weight = text;
    }
    r.comment = n % 37 ? "" : "retagged";
    return r;
}

// About one line in a hundred is a cancel, a probe error, a "Z" line, an Error column line or
// an empty line; the rest are results.
inline std::string Line(int n)
{
    switch (n % 100) {
    case 17: {
        CarcassMeasurement cancel = Record(n);
        cancel.kind = 'C';
        cancel.alertText = "Cancel      " + cancel.carcassCount;
        return LogLineFor(cancel);
    }
    case 41: {
        CarcassMeasurement error = Record(n);
        error.kind = 'Z';
        error.alertText = "Not through";
        return LogLineFor(error);
    }
    case 63: {
        CarcassMeasurement z = Record(n);
        z.kind = 'Z';
        return LogLineFor(z);
    }
    case 88: return "Probe error 7\t" + Record(n).timeDate + "\t\r\n";
    case 99: return "\r\n";
    default: return LogLineFor(Record(n));
    }
}

// Writes a log of `records` lines after the header line; returns its size in bytes.
inline long long WriteLog(const QString& path, int records)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return -1;
    std::string chunk = LogHeaderLine();
    for (int n = 0; n < records; ++n) {
        chunk += Line(n);
        if (chunk.size() > (1 << 20)) {
            file.write(chunk.data(), static_cast<qint64>(chunk.size()));
            chunk.clear();
        }
    }
    file.write(chunk.data(), static_cast<qint64>(chunk.size()));
    return file.size();
}

} // namespace bench
