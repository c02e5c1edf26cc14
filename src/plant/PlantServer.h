#pragma once
// The HTTP side: the routes, their parameters checked, the pages' headers (a policy that lets no
// script run but the server's own file), and the database's faults shown as pages.

#include "charts/SummaryChartData.h"
#include "plant/PlantReader.h"

#include <httplib.h>

#include <functional>
#include <string>

// Draws the charts of `data` as SVG; the program runs it on its main thread (Qt's drawing wants it).
using PlantChartDrawer = std::function<std::string(const SummaryChartData& data)>;

class PlantServer {
public:
    PlantServer(PlantReader& reader, PlantChartDrawer drawCharts);
    httplib::Server& Http() { return http_; }

private:
    void Overview(const httplib::Request& request, httplib::Response& response);
    void Station(const httplib::Request& request, httplib::Response& response);
    void Csv(const httplib::Request& request, httplib::Response& response);
    void Charts(const httplib::Request& request, httplib::Response& response);

    // The station and day of a request; false with the response set (400, 404, 503) when they are not good.
    bool StationAndDay(const httplib::Request& request, httplib::Response& response, std::string& station, QDate& day);
    // The summary's mode: `weight` 1 or 0, else with weight when the day's `lines` hold weighed carcasses.
    bool WeightMode(const httplib::Request& request, httplib::Response& response, const std::string& lines,
                    bool& withWeight);
    // The response for a fault of the database.
    void DatabaseFault(const DatabaseResult& result, httplib::Response& response, bool html);

    PlantReader& reader_;
    PlantChartDrawer drawCharts_;
    httplib::Server http_;
};
