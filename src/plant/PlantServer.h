#pragma once
// The HTTP side: the routes, their parameters checked, the pages' headers (a policy that lets no
// script run but the server's own file), the database's faults shown as pages, the log-in where
// users are required, and each live page's stream of updates.

#include "charts/SummaryChartData.h"
#include "plant/PlantLogin.h"
#include "plant/PlantReader.h"
#include "plant/PlantStreams.h"

#include <httplib.h>

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>

// Draws the charts of `data` as SVG; the program runs it on its main thread (Qt's drawing wants it).
using PlantChartDrawer = std::function<std::string(const SummaryChartData& data)>;

class PlantServer {
public:
    // HTTPS with `tlsCert` and `tlsKey` (PEM files) when given; a log-in for every request with `login`.
    PlantServer(PlantReader& reader, PlantChartDrawer drawCharts, const std::string& tlsCert = {},
                const std::string& tlsKey = {}, std::unique_ptr<PlantLogin> login = nullptr);
    httplib::Server& Http() { return *http_; }
    // False when the certificate or its key could not be read.
    bool Valid() const { return http_->is_valid(); }
    PlantStreams& Streams() { return streams_; }
    // Ends the streams, then the server.
    void Stop();

    // Live pages one server holds; each holds a worker thread of the server while open.
    static constexpr size_t kMostStreams = 256;
    static constexpr size_t kPageWorkers = 16;

private:
    void Overview(const httplib::Request& request, httplib::Response& response);
    void Station(const httplib::Request& request, httplib::Response& response);
    void Events(const httplib::Request& request, httplib::Response& response, bool station);
    void Csv(const httplib::Request& request, httplib::Response& response);
    void Charts(const httplib::Request& request, httplib::Response& response);
    httplib::Server::HandlerResponse LogIn(const httplib::Request& request, httplib::Response& response);

    // The page of `view`, made in `generation` (and its status: 200, or 503 when the database failed).
    std::string Render(const PlantView& view, uint64_t generation, int& status);
    // A station's page from the request; false with the response set (400, 404, 503) when it is not good.
    bool StationView(const httplib::Request& request, httplib::Response& response, PlantView& view);
    // The station and day of a request; false with the response set (400, 404, 503) when they are not good.
    bool StationAndDay(const httplib::Request& request, httplib::Response& response, std::string& station, QDate& day);
    // `weight` 1 or 0, none when not given; false with a 400 when it is something else.
    bool WeightParameter(const httplib::Request& request, httplib::Response& response, std::optional<bool>& withWeight);
    // The page or text for a fault of the database.
    std::string FaultPage(const DatabaseResult& result, uint64_t generation);
    void DatabaseFault(const DatabaseResult& result, httplib::Response& response, bool html);

    PlantReader& reader_;
    PlantChartDrawer drawCharts_;
    std::unique_ptr<PlantLogin> login_;
    std::unique_ptr<httplib::Server> http_;
    PlantStreams streams_;
    static constexpr size_t kChartsKept = 64;
    std::mutex chartsMutex_;
    std::map<std::string, std::string> charts_; // station, day, mode, digest of the lines -> SVG
};
