#include "charts/SummaryChartData.h"

#include "log/LogColumns.h"
#include "log/LogFileText.h"
#include "log/LogLineScan.h"
#include "probe/TextNumber.h"

#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <cstring>

int LeanMeatBin(double percent)
{
    if (percent < kLeanMeatLow)
        return 0;
    if (percent > kLeanMeatHigh)
        return kLeanMeatBins - 1;
    const int step = static_cast<int>(std::floor(percent)) - kLeanMeatLow;
    return 1 + std::min(step, kLeanMeatHigh - kLeanMeatLow - 1);
}

std::string LeanMeatBinLabel(int bin)
{
    if (bin <= 0)
        return "<" + std::to_string(kLeanMeatLow);
    if (bin >= kLeanMeatBins - 1)
        return ">" + std::to_string(kLeanMeatHigh);
    return std::to_string(kLeanMeatLow + bin - 1);
}

namespace {

// "dd-mm-yyyy" of "hh:mm:ss  dd-mm-yyyy", and the same as "yyyymmdd" to compare days by.
std::string_view DayOf(std::string_view timeDate)
{
    const size_t space = timeDate.rfind(' ');
    return space == std::string_view::npos ? std::string_view() : timeDate.substr(space + 1);
}

std::string SortableDay(std::string_view day)
{
    if (day.size() != 10)
        return std::string(day);
    return std::string(day.substr(6, 4)) + std::string(day.substr(3, 2)) + std::string(day.substr(0, 2));
}

} // namespace

QString SummaryChartData::Caption() const
{
    QString caption = source;
    if (!firstDay.empty()) {
        if (!caption.isEmpty())
            caption += QStringLiteral(", ");
        caption += QString::fromStdString(firstDay);
        if (lastDay != firstDay)
            caption += QStringLiteral(" to ") + QString::fromStdString(lastDay);
    }
    return caption;
}

long long SummaryChartData::Counted() const
{
    long long all = 0;
    for (long long count : classCount)
        all += count;
    return all;
}

double SummaryChartData::AverageWeight(size_t classIndex) const
{
    return classCount[classIndex] > 0 ? classWeight[classIndex] / static_cast<double>(classCount[classIndex]) : 0.0;
}

SummaryChartTally::SummaryChartTally(SummaryMode mode)
{
    data_.mode = mode;
}

SummaryChartTally::SummaryChartTally(const SummaryChartData& counted)
    : data_(counted)
{}

void SummaryChartTally::AddLines(std::string_view lines)
{
    const bool withWeight = data_.mode == SummaryMode::WithWeight;
    const char* p = lines.data();
    const char* const end = lines.data() + lines.size();
    LogLineScan scan{LogColumn::TimeDate, LogColumn::MeatPercent, LogColumn::Class, LogColumn::Weight};
    while (p < end) {
        if (*p != '\t') {
            const void* lineFeed = std::memchr(p, '\n', static_cast<size_t>(end - p));
            p = lineFeed ? static_cast<const char*>(lineFeed) + 1 : end;
            continue;
        }
        p = scan.Scan(p, end);
        if (!scan.Closes(LogColumn::Class))
            continue; // a cancel or a probing error
        const std::optional<double> weight = CountedWeight(data_.mode, scan.Value(LogColumn::Weight));
        if (!weight)
            continue;
        // As in the text: a carcass without a lean meat % has no class, whatever its letter.
        const std::optional<double> percent = LeanMeatIn(scan.Value(LogColumn::MeatPercent));
        if (!percent) {
            ++data_.withoutLeanMeat;
            continue;
        }
        const std::string_view carcassClass = scan.Value(LogColumn::Class);
        const size_t c = carcassClass.empty() ? std::string_view::npos : kChartClasses.find(carcassClass.front());
        if (c == std::string_view::npos) {
            ++data_.withoutClass;
            continue;
        }
        ++data_.classCount[c];
        const std::string_view day = DayOf(scan.Value(LogColumn::TimeDate));
        if (!day.empty()) {
            if (data_.firstDay.empty() || SortableDay(day) < SortableDay(data_.firstDay))
                data_.firstDay = day;
            if (data_.lastDay.empty() || SortableDay(day) > SortableDay(data_.lastDay))
                data_.lastDay = day;
        }
        if (withWeight)
            data_.classWeight[c] += *weight;
        ++data_.leanMeat[static_cast<size_t>(LeanMeatBin(*percent))];
    }
}

SummaryChartData SummaryChartDataOfText(std::string_view logText, SummaryMode mode)
{
    SummaryChartTally tally(mode);
    tally.AddLines(logText.substr(FirstRecordLine(logText)));
    return tally.Data();
}

std::optional<SummaryChartData> ReadSummaryChartData(const std::string& path, SummaryMode mode, QString* error)
{
    QFile file(QFile::decodeName(QByteArray::fromStdString(path)));
    auto failed = [&]() -> std::optional<SummaryChartData> {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    };
    if (!file.open(QIODevice::ReadOnly))
        return failed();
    SummaryChartTally tally(mode);
    constexpr qint64 kPiece = 4 << 20;
    QByteArray buffer;
    qsizetype carried = 0; // bytes of a line begun in the piece before
    bool headerPassed = false;
    for (;;) {
        buffer.resize(carried + kPiece);
        const qint64 got = file.read(buffer.data() + carried, kPiece);
        if (got < 0)
            return failed();
        const qsizetype filled = carried + static_cast<qsizetype>(got);
        std::string_view text(buffer.constData(), static_cast<size_t>(filled));
        if (!headerPassed) {
            const size_t lineFeed = text.find('\n');
            if (lineFeed == std::string_view::npos && got > 0) {
                carried = filled; // the header goes on in the next piece
                continue;
            }
            headerPassed = true;
            text.remove_prefix(lineFeed == std::string_view::npos ? text.size() : lineFeed + 1);
        }
        if (got == 0) {
            tally.AddLines(text); // a last line without its line end
            break;
        }
        const size_t lastLineFeed = text.rfind('\n');
        const size_t whole = lastLineFeed == std::string_view::npos ? 0 : lastLineFeed + 1;
        tally.AddLines(text.substr(0, whole));
        const std::string_view rest = text.substr(whole);
        std::memmove(buffer.data(), rest.data(), rest.size());
        carried = static_cast<qsizetype>(rest.size());
    }
    SummaryChartData data = tally.Data();
    data.source = QFileInfo(file.fileName()).fileName();
    return data;
}
