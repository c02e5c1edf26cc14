// tallion-plant's command line: where it may listen.

#include "plant/PlantOptions.h"

#include <gtest/gtest.h>

TEST(PlantOptions, ListensOnThisComputerOnly)
{
    const std::string notOpened = "\": the pages have no log-in and no encryption yet, so they are not opened to the "
                                  "network.\n";
    const struct {
        QStringList listen;
        int status;
        std::string host;
        int port;
        std::string message;
    } cases[] = {
        {{}, 0, "127.0.0.1", 8080, ""},
        {{"--listen", "127.0.0.1:9000"}, 0, "127.0.0.1", 9000, ""},
        {{"--listen=127.1.2.3:80"}, 0, "127.1.2.3", 80, ""},
        {{"--listen", "[::1]:8081"}, 0, "::1", 8081, ""},
        {{"--listen", "localhost:8082"}, 0, "localhost", 8082, ""},
        {{"--listen", "0.0.0.0:8080"},
         2,
         "",
         0,
         "tallion-plant: listens only on this computer (127.0.0.1, ::1 or localhost) for now, not on \"0.0.0.0"
             + notOpened},
        {{"--listen", "[::]:8080"},
         2,
         "",
         0,
         "tallion-plant: listens only on this computer (127.0.0.1, ::1 or localhost) for now, not on \"::" + notOpened},
        {{"--listen", "plant.example:8080"},
         2,
         "",
         0,
         "tallion-plant: listens only on this computer (127.0.0.1, ::1 or localhost) for now, not on \"plant.example"
             + notOpened},
        {{"--listen", "127.0.0.1"},
         2,
         "",
         0,
         "tallion-plant: --listen wants HOST:PORT, as 127.0.0.1:8080, not \"127.0.0.1\"\n"},
        {{"--listen", "127.0.0.1:70000"},
         2,
         "",
         0,
         "tallion-plant: --listen wants HOST:PORT, as 127.0.0.1:8080, not \"127.0.0.1:70000\"\n"},
    };
    for (const auto& c : cases) {
        PlantOptions options;
        std::string message;
        EXPECT_EQ(ReadPlantOptions(QStringList{"--db", "dbname=plant"} + c.listen, options, message), c.status)
            << c.listen.join(' ').toStdString();
        EXPECT_EQ(message, c.message);
        if (c.status == 0) {
            EXPECT_EQ(options.host, c.host);
            EXPECT_EQ(options.port, c.port);
            EXPECT_EQ(options.conninfo, "dbname=plant");
        }
    }
}
