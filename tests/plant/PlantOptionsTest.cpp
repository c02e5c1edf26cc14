// tallion-plant's command line: where it may listen, and with what.

#include "plant/PlantOptions.h"

#include <gtest/gtest.h>

TEST(PlantOptions, ListensBeyondThisComputerOnlyWithTlsAndUsers)
{
    const std::string why = ": beyond this computer the pages are served only over TLS and to users who log in "
                            "(127.0.0.1, ::1 and localhost need neither).\n";
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
         "tallion-plant: not listening on \"0.0.0.0\" without --tls-cert and --tls-key, --users" + why},
        {{"--listen", "0.0.0.0:8443", "--tls-cert=c.pem", "--tls-key=k.pem"},
         2,
         "",
         0,
         "tallion-plant: not listening on \"0.0.0.0\" without --users" + why},
        {{"--listen", "0.0.0.0:8443", "--users", "u"},
         2,
         "",
         0,
         "tallion-plant: not listening on \"0.0.0.0\" without --tls-cert and --tls-key" + why},
        {{"--listen", "0.0.0.0:8443", "--tls-cert=c.pem", "--tls-key=k.pem", "--users", "u"}, 0, "0.0.0.0", 8443, ""},
        {{"--listen", "0.0.0.0:8443", "--tls-cert=c.pem", "--users", "u"},
         2,
         "",
         0,
         "tallion-plant: --tls-cert and --tls-key go together: the certificate and its private key\n"},
        {{"--listen", "[::]:8080"},
         2,
         "",
         0,
         "tallion-plant: not listening on \"::\" without --tls-cert and --tls-key, --users" + why},
        {{"--listen", "plant.example:8080", "--tls-cert", "c.pem", "--tls-key", "k.pem"},
         2,
         "",
         0,
         "tallion-plant: not listening on \"plant.example\" without --users" + why},
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
