// tallion-plant against the private PostgreSQL server, read by a real browser (headless Chromium
// through its WebDriver, tests/plant/plant_browser.py) and by a plain HTTP client for the answers
// a browser does not show: status codes and the CSV's bytes.

#include "database/DatabaseCommands.h"
#include "database/GuardedSchema.h"
#include "log/LogRecordFormat.h"
#include "support/FreePort.h"
#include "support/PrivatePostgresServer.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <httplib.h>

#include "support/TestPaths.h"
#include <arpa/inet.h>
#include <ctime>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A result line as the station logs it, without its line end.
std::string Result(const char* timeDate, const char* carcass, const char* cls, const char* meat, const char* weight,
                   const char* comment = "")
{
    std::vector<std::string> fields(QByteArray::fromStdString(LogHeaderLine()).split('\t').size());
    fields[LogColumnTitled("Time & Date")] = timeDate;
    fields[LogColumnTitled("Header")] = "Single Site";
    fields[LogColumnTitled("Carcass Count")] = carcass;
    fields[LogColumnTitled("Fat 1")] = " 14.2 A";
    fields[LogColumnTitled("Meat (2)")] = " 55.0 B";
    fields[LogColumnTitled("Meat %")] = meat;
    fields[LogColumnTitled("Class")] = cls;
    fields[LogColumnTitled("Weight")] = weight;
    fields[LogColumnTitled("Comment")] = comment;
    std::string line;
    for (size_t i = 0; i + 1 < fields.size(); ++i)
        line += fields[i] + "\t";
    return line;
}

// One row of tallion.lines, as the owner writes it (the trigger types it); `line` is an SQL text
// expression between quotes, so that it may join in a chr().
std::string Row(const char* station, int seq, const std::string& line, const std::string& logged,
                const std::string& received = "now()", const std::string& deleted = "NULL")
{
    return "INSERT INTO tallion.lines (station, journal, seq, line, logged_at, received_at, deleted_at) VALUES ('"
           + std::string(station) + "', 1, " + std::to_string(seq) + ", '" + line + "', " + logged + ", " + received
           + ", " + deleted + ");";
}

QString PlantProgram()
{
    return BuiltProgram("tallion-plant");
}

} // namespace

TEST(PlantProgram, ListensOnTheNetworkOnlyOverTlsToItsUsers)
{
    QTemporaryDir dir;
    const QString cert = dir.filePath("cert.pem"), key = dir.filePath("key.pem"), users = dir.filePath("users");
    ASSERT_EQ(QProcess::execute("openssl", {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out",
                                            cert, "-days", "1", "-subj", "/CN=localhost", "-batch"}),
              0);
    QFile file(users);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    // `openssl passwd -6 -salt tallion.salt right-pw`
    file.write("anna:$6$tallion.salt$dRVidxXI10yY9douAM/OXsTGlsAx49au3HHKJ2eESL/sz5rkobBIGgxYnVsnkd7pa2nFQQfgG5FozBCHy9"
               "Yru/\n");
    file.close();
    const int port = FreePort();
    const QStringList start{"--db", "dbname=nothing", "--listen", "0.0.0.0:" + QString::number(port), "--tls-cert",
                            cert,   "--tls-key",      key};

    QProcess refused;
    refused.start(PlantProgram(), start);
    ASSERT_TRUE(refused.waitForFinished(20000));
    EXPECT_EQ(refused.exitCode(), 2);
    EXPECT_EQ(refused.readAllStandardError().toStdString(),
              "tallion-plant: not listening on \"0.0.0.0\" without --users: beyond this computer the pages are "
              "served only over TLS and to users who log in (127.0.0.1, ::1 and localhost need neither).\n");

    QProcess plant;
    plant.start(PlantProgram(), start + QStringList{"--users", users});
    ASSERT_TRUE(plant.waitForReadyRead(20000)) << plant.readAllStandardError().toStdString();
    httplib::SSLClient https("127.0.0.1", port);
    https.enable_server_certificate_verification(false);
    const struct {
        const char* name;
        const char* password;
        int status;
    } tries[] = {{nullptr, nullptr, 401}, {"anna", "wrong", 401}, {"anna", "right-pw", 429}, {"bruno", "x", 429}};
    for (const auto& t : tries) {
        httplib::Headers headers;
        if (t.name)
            headers.insert(httplib::make_basic_authentication_header(t.name, t.password));
        const httplib::Result got = https.Get("/plant.css", headers);
        ASSERT_TRUE(got) << httplib::to_string(got.error());
        EXPECT_EQ(got->status, t.status) << (t.name ? t.name : "no log-in");
    }
    // The wait after one failure is a second.
    const auto right = httplib::Headers{httplib::make_basic_authentication_header("anna", "right-pw")};
    QDeadlineTimer deadline(20000);
    httplib::Result in = https.Get("/plant.css", right);
    while (in && in->status == 429 && !deadline.hasExpired())
        in = https.Get("/plant.css", right);
    ASSERT_TRUE(in);
    EXPECT_EQ(in->status, 200);
    EXPECT_FALSE(httplib::Client("127.0.0.1", port).Get("/plant.css")) << "plain HTTP is not answered";

    plant.terminate();
    ASSERT_TRUE(plant.waitForFinished(20000));
    EXPECT_EQ(plant.exitCode(), 0);
}

TEST(PlantProgram, ServesTheStationsToABrowserAndRidesOutTheDatabase)
{
    PrivatePostgresServer server;
    std::string why;
    if (!server.Start(&why))
        GTEST_SKIP() << "no PostgreSQL server of the test's own: " << why;
    ASSERT_EQ(server.Sql("CREATE DATABASE plant"), "");
    const QString owner = QString::fromStdString(server.Conninfo("plant"));
    ASSERT_EQ(RunDbCommand({"db", "init", "--connection", owner}, stdout, stderr), 0);
    // The office's role reads the views only, as the README grants it.
    ASSERT_EQ(server.Sql("CREATE ROLE office LOGIN PASSWORD 'office-pw';"
                         "GRANT SELECT ON tallion.carcass_results, public.result_lines, tallion.stations TO office;"
                         "INSERT INTO tallion.stations VALUES ('line3', 'Line 3');",
                         "plant"),
              "");
    // Today: Line 1 has S, E, E, a deleted P and, last, a line with markup and Latin-1 text that
    // reached the database 30 s late; Line 2 one U, 11 minutes ago. 2024-03-14 is the CSV's day.
    const std::string sql =
        Row("Line 1", 1, Result("06:01:10  14-03-2024", "000001", "S", " 61.0", ""), "now() - interval '5 min'")
        + Row("Line 1", 2, Result("06:02:10  14-03-2024", "000002", "E", " 59.9", ""), "now() - interval '4 min'")
        + Row("Line 1", 3, Result("06:03:10  14-03-2024", "000003", "P", " 29.9", ""), "now() - interval '3 min'",
              "now()", "now()")
        + Row("Line 1", 4, Result("06:04:10  14-03-2024", "000003", "E", " 57.2", " 92.4"), "now() - interval '2 min'")
        + Row("Line 1", 5, "\t<script>alert(1)</script> caf' || chr(233) || '\t", "now() - interval '1 min'",
              "now() - interval '30 s'")
        + Row("Line 2", 1, Result("06:05:10  14-03-2024", "000009", "U", " 52.3", ""), "now() - interval '11 min'")
        + Row("Line 1", 101, Result("06:01:10  14-03-2024", "000101", "S", " 61.0", " 88.0"),
              "'2024-03-14 06:01:11+00'")
        + Row("Line 1", 102, Result("06:02:10  14-03-2024", "000102", "P", " 29.9", ""), "'2024-03-14 06:02:11+00'",
              "now()", "'2024-03-14 07:00:00+00'")
        + Row("Line 1", 103, "\tCancel  000102\t\t", "'2024-03-14 06:02:30+00'")
        + Row("Line 1", 104,
              Result("06:03:10  14-03-2024", "000103", "E", " 57.2", "", "say \"hi\", caf' || chr(233) || '"),
              "'2024-03-14 06:03:11+00'");
    ASSERT_EQ(server.Sql(sql, "plant"), "");

    const int port = FreePort();
    const std::string base = "http://127.0.0.1:" + std::to_string(port);
    QProcess plant;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("TZ", "UTC");
    plant.setProcessEnvironment(environment);
    plant.start(PlantProgram(), {"--db", QString::fromStdString(server.Conninfo("plant", "office", "office-pw")),
                                 "--listen", "127.0.0.1:" + QString::number(port)});
    ASSERT_TRUE(plant.waitForReadyRead(20000)) << plant.readAllStandardError().toStdString();

    httplib::Client http("127.0.0.1", port);
    const struct {
        std::string path;
        int status;
        std::string says;
    } answers[] = {
        {"/station/Line%201?date=2024-02-30", 400, "&quot;2024-02-30&quot; is not a day."},
        {"/station/Line%201/day.csv?date=14.03.2024", 400, "\"14.03.2024\" is not a day."},
        {"/station/Line%201?date=2024-03-14&page=x", 400, "&quot;x&quot; is not."},
        {"/station/Nowhere", 404, "The plant database knows no station &quot;Nowhere&quot;."},
        {"/nothing", 404, "There is no page at this address."},
    };
    for (const auto& answer : answers) {
        const httplib::Result got = http.Get(answer.path);
        ASSERT_TRUE(got) << answer.path;
        EXPECT_EQ(got->status, answer.status) << answer.path;
        EXPECT_NE(got->body.find(answer.says), std::string::npos) << answer.path << ": " << got->body;
    }
    const httplib::Result csv = http.Get("/station/Line%201/day.csv?date=2024-03-14");
    ASSERT_TRUE(csv);
    EXPECT_EQ(csv->get_header_value("Content-Type"), "text/csv; charset=utf-8; header=present");
    QFile expected(TestDataFile(QStringLiteral("plant_day.csv")));
    ASSERT_TRUE(expected.open(QIODevice::ReadOnly));
    EXPECT_EQ(csv->body, expected.readAll().toStdString());

    // The day's summary is the text `tallion summary --db` prints for the day (its line ends as a page has them).
    qputenv("TZ", "UTC");
    tzset();
    char* printed = nullptr;
    size_t size = 0;
    FILE* out = open_memstream(&printed, &size);
    EXPECT_EQ(
        RunDbSummaryCommand({"summary", "--db", owner, "--station", "Line 1", "--date", "2024-03-14"}, out, stderr), 0);
    std::fclose(out);
    std::string summary(printed, size);
    std::free(printed);
    std::erase(summary, '\r');
    const httplib::Result page = http.Get("/station/Line%201?date=2024-03-14&weight=0");
    ASSERT_TRUE(page);
    const size_t start = page->body.find("<pre class=\"summary\">") + 21;
    EXPECT_EQ(page->body.substr(start, page->body.find("</pre>") - start), summary);

    QProcess browser;
    browser.start("/usr/bin/python3", {SourceFile("tests/plant/plant_browser.py"), QString::fromStdString(base),
                                       qEnvironmentVariable("TALLION_PLANT_SCREENSHOTS")});
    std::string said;
    for (;;) {
        if (!browser.canReadLine() && browser.waitForReadyRead(90000))
            continue;
        if (!browser.canReadLine())
            break; // ended, or silent for too long
        const QByteArray line = browser.readLine();
        said += line.toStdString();
        if (line == "stop-database\n")
            server.Stop();
        else if (line == "start-database\n")
            ASSERT_TRUE(server.Start(&why)) << why;
        else if (line == "publish-line\n")
            ASSERT_EQ(server.Sql(Row("Line 1", 6, Result("06:06:10  14-03-2024", "000006", "R", " 53.1", ""), "now()"),
                                 "plant"),
                      "");
        else if (line == "delete-line\n")
            ASSERT_EQ(
                server.Sql("UPDATE tallion.lines SET deleted_at = now() WHERE station = 'Line 1' AND seq = 6", "plant"),
                "");
        else if (line == "stop-plant\n") {
            plant.terminate();
            ASSERT_TRUE(plant.waitForFinished(20000));
        } else if (line == "start-plant\n") {
            plant.start(plant.program(), plant.arguments());
            ASSERT_TRUE(plant.waitForReadyRead(20000)) << plant.readAllStandardError().toStdString();
        } else
            continue;
        browser.write("done\n");
    }
    ASSERT_TRUE(browser.state() == QProcess::NotRunning || browser.waitForFinished(60000)) << said;
    EXPECT_EQ(browser.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(browser.exitCode(), 0) << said << browser.readAllStandardError().toStdString();

    plant.terminate();
    ASSERT_TRUE(plant.waitForFinished(20000));
    EXPECT_EQ(plant.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(plant.exitCode(), 0);
}
