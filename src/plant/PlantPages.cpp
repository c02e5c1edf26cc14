#include "plant/PlantPages.h"

#include "plant/PlantHtml.h"

#include <QDateTime>
#include <QString>

#include <numeric>

namespace {

constexpr const char* kClassLetters[] = {"S", "E", "U", "R", "O", "P"};

std::string Num(long long n)
{
    return std::to_string(n);
}

// Share of `part` in `whole`, in whole percent.
std::string Share(long long part, long long whole)
{
    return whole > 0 ? QString::number(100.0 * double(part) / double(whole), 'f', 0).toStdString() : "0";
}

// The class bar: one SVG rectangle per class, its width the class's share (attributes, not styles:
// the page's policy forbids inline styles), and the counts as text beneath.
std::string ClassBar(const std::array<long long, 6>& counts)
{
    const long long total = std::accumulate(counts.begin(), counts.end(), 0LL);
    std::string bar = "<svg class=\"bar\" viewBox=\"0 0 1000 24\" preserveAspectRatio=\"none\" aria-hidden=\"true\">";
    long long x = 0;
    for (size_t c = 0; c < counts.size(); ++c) {
        if (counts[c] == 0 || total == 0)
            continue;
        const long long width = counts[c] * 1000 / total;
        bar += "<rect class=\"c" + std::string(kClassLetters[c]) + "\" x=\"" + Num(x) + "\" y=\"0\" width=\""
               + Num(width) + "\" height=\"24\"/>";
        x += width;
    }
    bar += "</svg><ul class=\"classes\">";
    for (size_t c = 0; c < counts.size(); ++c)
        bar += "<li class=\"c" + std::string(kClassLetters[c]) + "\"><b>" + kClassLetters[c] + "</b> <span class=\"n\">"
               + Num(counts[c]) + "</span> <small>" + Share(counts[c], total) + " %</small></li>";
    return bar + "</ul>";
}

std::string Quiet(const PlantStationToday& station, long long nowMs)
{
    if (!station.lastLineMs)
        return "<p class=\"quiet none\">no lines yet</p>";
    const long long minutes = (nowMs - *station.lastLineMs) / 60000;
    if (minutes < kQuietAmberMinutes)
        return "<p class=\"quiet ok\">last line " + ClockTime(*station.lastLineMs) + "</p>";
    const char* level = minutes > kQuietRedMinutes ? "red" : "amber";
    const std::string text = minutes < 120       ? Num(minutes) + " min"
                             : minutes < 48 * 60 ? Num(minutes / 60) + " h"
                                                 : Num(minutes / (24 * 60)) + " days";
    return "<p class=\"quiet " + std::string(level) + "\">quiet for " + text + "</p>";
}

std::string Tile(const PlantStationToday& station, long long nowMs)
{
    std::string tile = "<li><a class=\"tile\" href=\"/station/" + StationPath(station.name) + "\"><h2>"
                       + HtmlText(station.name) + "</h2><p class=\"count\"><span class=\"n\">" + Num(station.carcasses)
                       + "</span> carcasses today</p>" + ClassBar(station.classCount);
    if (station.averageLeanMeat)
        tile += "<p class=\"lean\">lean meat " + QString::number(*station.averageLeanMeat, 'f', 1).toStdString()
                + " % on average</p>";
    if (station.last) {
        const PlantCarcass& last = *station.last;
        tile += "<p class=\"last\">last carcass " + ClockTime(last.loggedMs) + " · no. " + HtmlText(last.carcass)
                + " · class <b>" + HtmlText(last.cls) + "</b>";
        if (!last.leanMeat.empty())
            tile += " · " + OneDecimal(last.leanMeat) + " %";
        if (!last.weight.empty())
            tile += " · " + OneDecimal(last.weight) + " kg";
        tile += "</p>";
    }
    tile += Quiet(station, nowMs);
    if (station.lagMs > kLagShownSeconds * 1000)
        tile += "<p class=\"lag\">database lag " + Num(station.lagMs / 1000) + " s</p>";
    return tile + "</a></li>";
}

} // namespace

std::string OverviewPage(const std::vector<PlantStationToday>& stations, const QDate& today, long long nowMs,
                         unsigned long long generation)
{
    std::array<long long, 6> classes{};
    long long carcasses = 0;
    double leanSum = 0;
    long long leanCount = 0;
    for (const PlantStationToday& station : stations) {
        for (size_t c = 0; c < classes.size(); ++c)
            classes[c] += station.classCount[c];
        carcasses += station.carcasses;
        if (station.averageLeanMeat) {
            leanSum += *station.averageLeanMeat * double(station.carcasses);
            leanCount += station.carcasses;
        }
    }
    const std::string date = today.toString(Qt::ISODate).toStdString();
    std::string body = "<header><h1>The plant today</h1><p>" + date + " · as of " + ClockTime(nowMs)
                       + "</p></header><section class=\"total\" aria-label=\"Plant total\"><h2>Plant total</h2>"
                         "<p class=\"count\"><span class=\"n\">"
                       + Num(carcasses) + "</span> carcasses at " + Num(qsizetype(stations.size())) + " stations</p>"
                       + ClassBar(classes);
    if (leanCount > 0)
        body += "<p class=\"lean\">lean meat " + QString::number(leanSum / double(leanCount), 'f', 1).toStdString()
                + " % on average</p>";
    body += "</section><ul class=\"tiles\">";
    for (const PlantStationToday& station : stations)
        body += Tile(station, nowMs);
    body += "</ul>";
    if (stations.empty())
        body += "<p>No station has sent lines in the last 30 days, and none is mapped to a role.</p>";
    return HtmlPage("The plant today", body, generation);
}

namespace {

std::string Cell(const char* label, const std::string& html)
{
    return "<td data-label=\"" + std::string(label) + "\">" + html + "</td>";
}

std::string LineRow(const PlantLine& line)
{
    const bool deleted = line.deletedMs.has_value();
    std::string row = deleted ? "<tr class=\"deleted\">" : "<tr>";
    row += Cell("Time", ClockTime(line.loggedMs));
    if (line.kind == "result") {
        row += Cell("Carcass", HtmlText(line.carcass)) + Cell("Class", "<b>" + HtmlText(line.cls) + "</b>")
               + Cell("Lean meat %", OneDecimal(line.leanMeat)) + Cell("Fat 1", HtmlText(line.fat1))
               + Cell("Fat 2", HtmlText(line.fat2)) + Cell("Meat", HtmlText(line.meat))
               + Cell("Meat 1", HtmlText(line.meat1)) + Cell("Quality", HtmlText(line.quality))
               + Cell("Weight", OneDecimal(line.weight));
    } else {
        // Not a carcass: the line as logged, as text.
        std::string text = line.line;
        for (char& c : text)
            if (c == '\t')
                c = ' ';
        row +=
            "<td class=\"text\" colspan=\"9\" data-label=\"" + HtmlEscape(line.kind) + "\">" + HtmlText(text) + "</td>";
    }
    row += Cell("Deleted", deleted ? "deleted " + ClockTime(*line.deletedMs) : std::string());
    return row + "</tr>";
}

} // namespace

std::string StationPage(const StationDay& day)
{
    const std::string name = HtmlText(day.station);
    const std::string path = "/station/" + StationPath(day.station);
    const std::string date = day.day.toString(Qt::ISODate).toStdString();
    const auto dayLink = [&](int days, const char* text) {
        return "<a href=\"" + path + "?date=" + day.day.addDays(days).toString(Qt::ISODate).toStdString() + "\">" + text
               + "</a>";
    };
    std::string body = "<header><nav><a href=\"/\">Plant</a></nav><h1>" + name + " · " + date
                       + "</h1><form class=\"day\" method=\"get\" action=\"" + path
                       + "\"><label>Day <input type=\"date\" name=\"date\" value=\"" + date
                       + "\" required></label> <button type=\"submit\">Show</button> " + dayLink(-1, "Day before") + " "
                       + dayLink(1, "Day after") + " <a href=\"" + path + "/day.csv?date=" + date
                       + "\" download>CSV of the day</a></form></header>"
                       + "<section aria-label=\"Class summary\"><h2>Class summary</h2><pre class=\"summary\">"
                       + HtmlText(day.summary) + "</pre><p><a href=\"" + path + "?date=" + date
                       + "&amp;weight=" + (day.withWeight ? "0" : "1") + "\">"
                       + (day.withWeight ? "Summary of the unweighed carcasses" : "Summary of the weighed carcasses")
                       + "</a></p></section><section aria-label=\"Charts\"><h2>Charts</h2><img class=\"charts\" src=\""
                       + path + "/charts.svg?date=" + date + "&amp;weight=" + (day.withWeight ? "1" : "0")
                       + "&amp;v=" + day.chartsVersion + "\" alt=\"The day's class bars, average weight per class"
                       + " and lean meat % histogram\" width=\"1600\" height=\"1000\"></section>";
    const long long first = day.page * kLinesPerPage;
    body += "<section aria-label=\"Lines\"><h2>Lines</h2><p>" + Num(day.lines.total) + " lines, newest first";
    if (day.lines.total > 0)
        body += "; " + Num(first + 1) + " to " + Num(first + qsizetype(day.lines.lines.size()));
    body += "</p><table class=\"lines\"><thead><tr><th>Time</th><th>Carcass</th><th>Class</th><th>Lean meat %</th>"
            "<th>Fat 1</th><th>Fat 2</th><th>Meat</th><th>Meat 1</th><th>Quality</th><th>Weight</th><th>Deleted</th>"
            "</tr></thead><tbody>";
    for (const PlantLine& line : day.lines.lines)
        body += LineRow(line);
    body += "</tbody></table><nav class=\"pages\">";
    const std::string pageLink = path + "?date=" + date + "&amp;page=";
    if (day.page > 0)
        body += "<a href=\"" + pageLink + Num(day.page - 1) + "\">Newer lines</a> ";
    if (first + kLinesPerPage < day.lines.total)
        body += "<a href=\"" + pageLink + Num(day.page + 1) + "\">Older lines</a>";
    body += "</nav></section>";
    return HtmlPage(QString::fromLatin1(day.station.data(), qsizetype(day.station.size())).toStdString() + " " + date,
                    body, day.generation);
}

std::string MessagePage(const std::string& title, const std::string& message)
{
    return HtmlPage(title, "<header><nav><a href=\"/\">Plant</a></nav><h1>" + HtmlEscape(title) + "</h1></header><p>"
                               + HtmlEscape(message) + "</p>");
}

std::string OutagePage(long long sinceMs, const std::string& reason, unsigned long long generation)
{
    const std::string since =
        QDateTime::fromMSecsSinceEpoch(sinceMs).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toStdString();
    return HtmlPage("Plant database not reachable",
                    "<header><h1>Plant database not reachable</h1></header><p class=\"outage\">plant database not "
                    "reachable since "
                        + since + "</p><p>" + HtmlText(reason)
                        + "</p><p>The page shows the data again by itself as soon as the database answers.</p>",
                    generation);
}
