#include "plant/PlantServer.h"

#include "log/ClassSummary.h"
#include "plant/PlantAssets.h"
#include "plant/PlantCsv.h"
#include "plant/PlantHtml.h"
#include "plant/PlantPages.h"

#include <QDateTime>
#include <QString>

namespace {

constexpr const char* kHtml = "text/html; charset=utf-8";
constexpr const char* kText = "text/plain; charset=utf-8";

void Html(httplib::Response& response, int status, const std::string& page)
{
    response.status = status;
    response.set_content(page, kHtml);
}

} // namespace

PlantServer::PlantServer(PlantReader& reader, PlantChartDrawer drawCharts)
    : reader_(reader)
    , drawCharts_(std::move(drawCharts))
{
    // Scripts only from the server's own file, nothing from elsewhere, no inline script or style.
    http_.set_default_headers(
        {{"Content-Security-Policy", "default-src 'none'; script-src 'self'; style-src 'self'; img-src 'self'; "
                                     "form-action 'self'; base-uri 'none'; frame-ancestors 'none'"},
         {"X-Content-Type-Options", "nosniff"},
         {"Referrer-Policy", "no-referrer"},
         {"Cache-Control", "no-store"}});
    using httplib::Request;
    using httplib::Response;
    http_.Get("/", [this](const Request& q, Response& r) { Overview(q, r); });
    http_.Get("/plant.css", [](const Request&, Response& r) { r.set_content(kPlantCss, "text/css; charset=utf-8"); });
    http_.Get("/plant.js",
              [](const Request&, Response& r) { r.set_content(kPlantJs, "text/javascript; charset=utf-8"); });
    http_.Get(R"(/station/([^/]+))", [this](const Request& q, Response& r) { Station(q, r); });
    http_.Get(R"(/station/([^/]+)/day\.csv)", [this](const Request& q, Response& r) { Csv(q, r); });
    http_.Get(R"(/station/([^/]+)/charts\.svg)", [this](const Request& q, Response& r) { Charts(q, r); });
    http_.set_error_handler(httplib::Server::HandlerWithResponse([](const Request&, Response& r) {
        if (!r.body.empty())
            return httplib::Server::HandlerResponse::Unhandled;
        r.set_content(MessagePage("Not found", "There is no page at this address."), kHtml);
        return httplib::Server::HandlerResponse::Handled;
    }));
    http_.set_exception_handler([](const Request&, Response& r, std::exception_ptr) {
        Html(r, 503, MessagePage("Not available", "The page could not be made; load it again."));
    });
}

void PlantServer::DatabaseFault(const DatabaseResult& result, httplib::Response& response, bool html)
{
    const std::optional<long long> since = reader_.DownSince();
    std::string text =
        since ? OutagePage(*since, result.message)
              : MessagePage("Plant database refused", "The plant database refused the query: "
                                                          + QString::fromLatin1(result.message.c_str()).toStdString());
    if (html)
        Html(response, 503, text);
    else {
        response.status = 503;
        response.set_content(QString::fromLatin1(result.message.c_str()).toStdString() + "\n", kText);
    }
}

void PlantServer::Overview(const httplib::Request&, httplib::Response& response)
{
    const QDate today = QDate::currentDate();
    std::vector<PlantStationToday> stations;
    const DatabaseResult result = reader_.Today(today, stations);
    if (!result.ok())
        return DatabaseFault(result, response, true);
    Html(response, 200, OverviewPage(stations, today, QDateTime::currentMSecsSinceEpoch()));
}

bool PlantServer::StationAndDay(const httplib::Request& request, httplib::Response& response, std::string& station,
                                QDate& day)
{
    const bool html = request.matches.size() > 0 && !request.path.ends_with(".csv") && !request.path.ends_with(".svg");
    const auto refuse = [&](int status, const char* title, const std::string& message) {
        if (html)
            Html(response, status, MessagePage(title, message));
        else {
            response.status = status;
            response.set_content(message + "\n", kText);
        }
        return false;
    };
    day = QDate::currentDate();
    if (request.has_param("date")) {
        const std::string text = request.get_param_value("date");
        day = QDate::fromString(QString::fromStdString(text), QStringLiteral("yyyy-MM-dd"));
        if (text.size() != 10 || !day.isValid())
            return refuse(400, "Wrong date",
                          "The date is written YYYY-MM-DD, as 2024-03-14: \"" + text + "\" is not a day.");
    }
    // Names in the database are Latin-1; the address holds UTF-8.
    const QString name = QString::fromUtf8(request.matches[1].str());
    bool known = false;
    for (const QChar c : name)
        if (c.unicode() > 0xFF)
            return refuse(404, "Unknown station",
                          "The plant database knows no station \"" + name.toStdString() + "\".");
    station = name.toLatin1().toStdString();
    const DatabaseResult result = reader_.StationKnown(station, known);
    if (!result.ok()) {
        DatabaseFault(result, response, html);
        return false;
    }
    if (!known)
        return refuse(404, "Unknown station", "The plant database knows no station \"" + name.toStdString() + "\".");
    return true;
}

bool PlantServer::WeightMode(const httplib::Request& request, httplib::Response& response, const std::string& lines,
                             bool& withWeight)
{
    // As the station's summary: with weight it counts the weighed carcasses, without the others.
    if (!request.has_param("weight")) {
        SummaryChartTally weighed(SummaryMode::WithWeight);
        weighed.AddLines(lines);
        withWeight = weighed.Data().Counted() > 0;
        return true;
    }
    const std::string value = request.get_param_value("weight");
    if (value != "0" && value != "1") {
        Html(response, 400,
             MessagePage("Wrong weight",
                         "weight is 1 (the weighed carcasses) or 0 (the others), not \"" + value + "\"."));
        return false;
    }
    withWeight = value == "1";
    return true;
}

void PlantServer::Station(const httplib::Request& request, httplib::Response& response)
{
    StationDay day;
    if (!StationAndDay(request, response, day.station, day.day))
        return;
    if (request.has_param("page")) {
        const QString page = QString::fromStdString(request.get_param_value("page"));
        bool number = false;
        day.page = page.toLongLong(&number);
        if (!number || day.page < 0 || page.size() > 9)
            return Html(
                response, 400,
                MessagePage("Wrong page", "The page is a number from 0: \"" + page.toStdString() + "\" is not."));
    }
    std::string lines;
    DatabaseResult result = reader_.DayResults(day.station, day.day, lines);
    if (result.ok())
        result = reader_.DayLines(day.station, day.day, day.page * kLinesPerPage, kLinesPerPage, day.lines);
    if (!result.ok())
        return DatabaseFault(result, response, true);
    if (!WeightMode(request, response, lines, day.withWeight))
        return;
    const SummaryMode mode = day.withWeight ? SummaryMode::WithWeight : SummaryMode::WithoutWeight;
    ClassSummaryTally tally(mode);
    tally.AddLines(lines);
    // The label `tallion summary --db` prints: the station and the day.
    day.summary = ClassSummaryText(day.station + " " + day.day.toString(Qt::ISODate).toStdString(), tally.Body(), mode);
    Html(response, 200, StationPage(day));
}

void PlantServer::Csv(const httplib::Request& request, httplib::Response& response)
{
    std::string station;
    QDate day;
    if (!StationAndDay(request, response, station, day))
        return;
    std::string csv = CsvHeader();
    const DatabaseResult result =
        reader_.EachDayLine(station, day, [&](const PlantLine& line) { csv += CsvRecord(station, line); });
    if (!result.ok())
        return DatabaseFault(result, response, false);
    const std::string file =
        QString::fromLatin1(station.c_str()).toStdString() + " " + day.toString(Qt::ISODate).toStdString() + ".csv";
    std::string safe;
    for (const char c : file)
        safe += (c == '"' || c == '\\' || static_cast<unsigned char>(c) < 0x20) ? '_' : c;
    response.set_header("Content-Disposition", "attachment; filename=\"" + safe + "\"");
    response.set_content(csv, "text/csv; charset=utf-8; header=present");
}

void PlantServer::Charts(const httplib::Request& request, httplib::Response& response)
{
    std::string station;
    QDate day;
    if (!StationAndDay(request, response, station, day))
        return;
    std::string lines;
    const DatabaseResult result = reader_.DayResults(station, day, lines);
    if (!result.ok())
        return DatabaseFault(result, response, false);
    bool withWeight = false;
    if (!WeightMode(request, response, lines, withWeight))
        return;
    SummaryChartTally tally(withWeight ? SummaryMode::WithWeight : SummaryMode::WithoutWeight);
    tally.AddLines(lines);
    response.set_content(drawCharts_(tally.Data()), "image/svg+xml");
}
