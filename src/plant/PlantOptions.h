#pragma once
// The command line of `tallion-plant --db CONNINFO [--listen HOST:PORT] [--tls-cert FILE --tls-key FILE]
// [--users FILE]`.

#include <QStringList>

#include <string>

struct PlantOptions {
    std::string conninfo;
    std::string host = "127.0.0.1";
    int port = 8080;
    std::string tlsCert; // empty: plain HTTP
    std::string tlsKey;
    std::string users; // empty: no log-in
};

// Reads `arguments` (the words after the program name). Returns 0 with `options` set, or the exit
// status (2) with `message` saying what is wrong. An address beyond this computer (anything but
// 127.0.0.0/8, ::1, localhost) is taken only with TLS and a users file: the pages are then
// encrypted and ask for a log-in.
int ReadPlantOptions(const QStringList& arguments, PlantOptions& options, std::string& message);

constexpr const char* kPlantUsage =
    "Usage: tallion-plant --db CONNINFO [--listen HOST:PORT] [--tls-cert FILE --tls-key FILE] [--users FILE]\n"
    "  Serves the plant database's pages to a browser (default 127.0.0.1:8080).\n"
    "  Connect with a role that may only read the views (see the README).\n"
    "  --tls-cert, --tls-key: PEM files; the pages are served over HTTPS.\n"
    "  --users: one name:hash a line (mkpasswd or openssl passwd -6); browsers log in.\n"
    "  Any address but this computer's needs all three.\n";
