// Timing of the result log: durable appends (one synced write per record, as on the line) and
// building and reading back log lines. Prints figures; passes or fails nothing.

#include "log/LogFileWriter.h"
#include "log/LogRecordFormat.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

CarcassMeasurement SampleRecord(int n)
{
    char counter[8];
    std::snprintf(counter, sizeof counter, "%06d", n % 1000000);
    CarcassMeasurement r;
    r.kind = n % 3 == 0 ? 'L' : 'E';
    r.timeDate = "08:15:02  14-03-2024";
    r.carcassType = "1";
    r.carcassCount = counter;
    r.fat1 = " 14.2";
    r.fat2 = " 16.0";
    r.meat = " 55.0";
    r.meatPercent = " 58.3";
    r.carcassClass = "E";
    r.rz7Colour1 = " 3.2";
    r.rz7ColourGrade = "n";
    r.serialNumber = "A001";
    r.weight = " 92.4";
    r.rz7Tender = "3.1";
    r.rz7TenderGrade = "T";
    return r;
}

} // namespace

int main()
{
    char folderTemplate[] = "/tmp/tallion-log-bench-XXXXXX";
    if (!mkdtemp(folderTemplate)) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string folder = folderTemplate;
    const std::string path = folder + "/bench.dif";

    constexpr int kAppends = 10000;
    LogFileWriter writer;
    int failures = 0;
    const Clock::time_point appendStart = Clock::now();
    for (int i = 0; i < kAppends; ++i) {
        if (!writer.WriteLogRecord(SampleRecord(i), path).written)
            ++failures;
    }
    const double appendSeconds = SecondsSince(appendStart);
    std::printf("durable append: %d records in %.3f s, %.0f records/s, %d failed\n", kAppends, appendSeconds,
                kAppends / appendSeconds, failures);
    std::printf("file size: %ju bytes\n", static_cast<std::uintmax_t>(std::filesystem::file_size(path)));

    constexpr int kLines = 100000;
    std::vector<std::string> lines;
    lines.reserve(kLines);
    const Clock::time_point buildStart = Clock::now();
    for (int i = 0; i < kLines; ++i)
        lines.push_back(LogLineFor(SampleRecord(i)));
    const double buildSeconds = SecondsSince(buildStart);
    std::printf("build lines: %d in %.3f s, %.0f lines/s\n", kLines, buildSeconds, kLines / buildSeconds);

    size_t displayBytes = 0;
    const Clock::time_point readStart = Clock::now();
    for (int i = 0; i < kLines; ++i)
        displayBytes += ReadDisplayLine(lines[static_cast<size_t>(i)], 1 + i % 10).size();
    const double readSeconds = SecondsSince(readStart);
    std::printf("read back (templates 1-10): %d in %.3f s, %.0f lines/s (%zu bytes)\n", kLines, readSeconds,
                kLines / readSeconds, displayBytes);

    std::filesystem::remove_all(folder);
    return failures == 0 ? 0 : 1;
}
