#include "plant/PlantServer.h"

#include "log/ClassSummary.h"
#include "plant/PlantAssets.h"
#include "plant/PlantCsv.h"
#include "plant/PlantHtml.h"
#include "plant/PlantPages.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <cstdlib>
#include <functional>

namespace {

constexpr const char* kHtml = "text/html; charset=utf-8";
constexpr const char* kText = "text/plain; charset=utf-8";

void Html(httplib::Response& response, int status, const std::string& page)
{
    response.status = status;
    response.set_content(page, kHtml);
}

// Unasked, a summary is with weight when the day holds weighed carcasses.
bool HoldsWeighed(const std::string& lines)
{
    SummaryChartTally weighed(SummaryMode::WithWeight);
    weighed.AddLines(lines);
    return weighed.Data().Counted() > 0;
}

} // namespace

PlantServer::PlantServer(PlantReader& reader, PlantChartDrawer drawCharts, const std::string& tlsCert,
                         const std::string& tlsKey, std::unique_ptr<PlantLogin> login)
    : reader_(reader)
    , drawCharts_(std::move(drawCharts))
    , login_(std::move(login))
    , http_(tlsCert.empty() ? std::make_unique<httplib::Server>()
                            : std::make_unique<httplib::SSLServer>(tlsCert.c_str(), tlsKey.c_str()))
    , streams_(
          [this](const PlantView& view, uint64_t generation) {
              int status = 0;
              return Render(view, generation, status);
          },
          kMostStreams)
{
    // cpp-httplib keeps a worker per open stream: room for every stream, and for the pages beside them.
    http_->new_task_queue = [] { return new httplib::ThreadPool(kMostStreams + kPageWorkers); };
    // Scripts only from the server's own file, nothing from elsewhere, no inline script or style;
    // the script may open its stream of updates.
    http_->set_default_headers(
        {{"Content-Security-Policy", "default-src 'none'; script-src 'self'; style-src 'self'; img-src 'self'; "
                                     "connect-src 'self'; form-action 'self'; base-uri 'none'; frame-ancestors 'none'"},
         {"X-Content-Type-Options", "nosniff"},
         {"Referrer-Policy", "no-referrer"},
         {"Cache-Control", "no-store"}});
    using httplib::Request;
    using httplib::Response;
    if (login_)
        http_->set_pre_routing_handler([this](const Request& q, Response& r) { return LogIn(q, r); });
    http_->Get("/", [this](const Request& q, Response& r) { Overview(q, r); });
    http_->Get("/events", [this](const Request& q, Response& r) { Events(q, r, false); });
    http_->Get("/plant.css", [](const Request&, Response& r) { r.set_content(kPlantCss, "text/css; charset=utf-8"); });
    http_->Get("/plant.js",
               [](const Request&, Response& r) { r.set_content(kPlantJs, "text/javascript; charset=utf-8"); });
    http_->Get(R"(/station/([^/]+))", [this](const Request& q, Response& r) { Station(q, r); });
    http_->Get(R"(/station/([^/]+)/events)", [this](const Request& q, Response& r) { Events(q, r, true); });
    http_->Get(R"(/station/([^/]+)/day\.csv)", [this](const Request& q, Response& r) { Csv(q, r); });
    http_->Get(R"(/station/([^/]+)/charts\.svg)", [this](const Request& q, Response& r) { Charts(q, r); });
    http_->set_error_handler(httplib::Server::HandlerWithResponse([](const Request&, Response& r) {
        if (!r.body.empty())
            return httplib::Server::HandlerResponse::Unhandled;
        r.set_content(MessagePage("Not found", "There is no page at this address."), kHtml);
        return httplib::Server::HandlerResponse::Handled;
    }));
    http_->set_exception_handler([](const Request&, Response& r, std::exception_ptr) {
        Html(r, 503, MessagePage("Not available", "The page could not be made; load it again."));
    });
}

void PlantServer::Stop()
{
    streams_.Stop();
    http_->stop();
}

httplib::Server::HandlerResponse PlantServer::LogIn(const httplib::Request& request, httplib::Response& response)
{
    long long waitMs = 0;
    switch (login_->Check(request.remote_addr, request.get_header_value("Authorization"),
                          QDateTime::currentMSecsSinceEpoch(), waitMs)) {
    case PlantLogin::Verdict::In: return httplib::Server::HandlerResponse::Unhandled;
    case PlantLogin::Verdict::Wait: {
        const std::string seconds = std::to_string((waitMs + 999) / 1000);
        response.set_header("Retry-After", seconds);
        Html(response, 429,
             MessagePage("Too many failed log-ins", "Wrong names or passwords came from this computer: wait " + seconds
                                                        + " s, then load the page again."));
        break;
    }
    case PlantLogin::Verdict::Refused:
        response.set_header("WWW-Authenticate", "Basic realm=\"Tallion plant\", charset=\"UTF-8\"");
        Html(response, 401,
             MessagePage("Log-in needed", "The plant's pages need a name and password of the server's users file."));
        break;
    }
    return httplib::Server::HandlerResponse::Handled;
}

std::string PlantServer::FaultPage(const DatabaseResult& result, uint64_t generation)
{
    const std::optional<long long> since = reader_.DownSince();
    return since
               ? OutagePage(*since, result.message, generation)
               : MessagePage("Plant database refused", "The plant database refused the query: "
                                                           + QString::fromLatin1(result.message.c_str()).toStdString());
}

void PlantServer::DatabaseFault(const DatabaseResult& result, httplib::Response& response, bool html)
{
    if (html)
        Html(response, 503, FaultPage(result, streams_.Generation()));
    else {
        response.status = 503;
        response.set_content(QString::fromLatin1(result.message.c_str()).toStdString() + "\n", kText);
    }
}

void PlantServer::Overview(const httplib::Request&, httplib::Response& response)
{
    int status = 0;
    const std::string page = Render({}, streams_.Generation(), status);
    Html(response, status, page);
}

std::string PlantServer::Render(const PlantView& view, uint64_t generation, int& status)
{
    status = 503;
    const QDate today = QDate::currentDate();
    if (view.station.empty()) {
        std::vector<PlantStationToday> stations;
        const DatabaseResult result = reader_.Today(today, stations);
        if (!result.ok())
            return FaultPage(result, generation);
        status = 200;
        return OverviewPage(stations, today, QDateTime::currentMSecsSinceEpoch(), generation);
    }
    StationDay day;
    day.station = view.station;
    day.day = view.day.value_or(today);
    day.page = view.page;
    std::string lines;
    DatabaseResult result = reader_.DayResults(day.station, day.day, lines);
    if (result.ok())
        result = reader_.DayLines(day.station, day.day, day.page * kLinesPerPage, kLinesPerPage, day.lines);
    if (!result.ok())
        return FaultPage(result, generation);
    // As the station's summary: with weight it counts the weighed carcasses, without the others.
    day.withWeight = view.withWeight ? *view.withWeight : HoldsWeighed(lines);
    const SummaryMode mode = day.withWeight ? SummaryMode::WithWeight : SummaryMode::WithoutWeight;
    ClassSummaryTally tally(mode);
    tally.AddLines(lines);
    // The label `tallion summary --db` prints: the station and the day.
    day.summary = ClassSummaryText(day.station + " " + day.day.toString(Qt::ISODate).toStdString(), tally.Body(), mode);
    day.chartsVersion = QByteArray::number(static_cast<qulonglong>(std::hash<std::string>{}(lines)), 36).toStdString();
    day.generation = generation;
    status = 200;
    return StationPage(day);
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

bool PlantServer::WeightParameter(const httplib::Request& request, httplib::Response& response,
                                  std::optional<bool>& withWeight)
{
    withWeight.reset();
    if (!request.has_param("weight"))
        return true;
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

bool PlantServer::StationView(const httplib::Request& request, httplib::Response& response, PlantView& view)
{
    QDate day;
    if (!StationAndDay(request, response, view.station, day))
        return false;
    if (request.has_param("date"))
        view.day = day;
    if (request.has_param("page")) {
        const QString page = QString::fromStdString(request.get_param_value("page"));
        bool number = false;
        view.page = page.toLongLong(&number);
        if (!number || view.page < 0 || page.size() > 9) {
            Html(response, 400,
                 MessagePage("Wrong page", "The page is a number from 0: \"" + page.toStdString() + "\" is not."));
            return false;
        }
    }
    return WeightParameter(request, response, view.withWeight);
}

void PlantServer::Station(const httplib::Request& request, httplib::Response& response)
{
    PlantView view;
    if (!StationView(request, response, view))
        return;
    int status = 0;
    const std::string page = Render(view, streams_.Generation(), status);
    Html(response, status, page);
}

void PlantServer::Events(const httplib::Request& request, httplib::Response& response, bool station)
{
    PlantView view;
    if (station && !StationView(request, response, view))
        return;
    // The generation of the page the browser shows: the last event's, or the page's own.
    const std::string seen = request.has_header("Last-Event-ID") ? request.get_header_value("Last-Event-ID")
                                                                 : request.get_param_value("seen");
    if (!streams_.Open(view, std::strtoull(seen.c_str(), nullptr, 10), response)) {
        // The page stays as it is; its script asks again later.
        response.status = 503;
        response.set_header("Retry-After", "30");
        response.set_content("Too many pages follow the database live now.\n", kText);
    }
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
    std::optional<bool> weight;
    if (!WeightParameter(request, response, weight))
        return;
    const bool withWeight = weight ? *weight : HoldsWeighed(lines);
    // Every live page of a station asks for its charts after each change: they are drawn once.
    const std::string key = station + '\n' + day.toString(Qt::ISODate).toStdString() + (withWeight ? "\n1\n" : "\n0\n")
                            + std::to_string(std::hash<std::string>{}(lines));
    {
        std::lock_guard lock(chartsMutex_);
        if (const auto drawn = charts_.find(key); drawn != charts_.end())
            return response.set_content(drawn->second, "image/svg+xml");
    }
    SummaryChartTally tally(withWeight ? SummaryMode::WithWeight : SummaryMode::WithoutWeight);
    tally.AddLines(lines);
    std::string svg = drawCharts_(tally.Data());
    response.set_content(svg, "image/svg+xml");
    std::lock_guard lock(chartsMutex_);
    if (charts_.size() >= kChartsKept)
        charts_.clear();
    charts_.emplace(key, std::move(svg));
}
