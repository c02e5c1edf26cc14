#pragma once
// The command line of `tallion-plant --db CONNINFO [--listen HOST:PORT]`.

#include <QStringList>

#include <string>

struct PlantOptions {
    std::string conninfo;
    std::string host = "127.0.0.1";
    int port = 8080;
};

// Reads `arguments` (the words after the program name). Returns 0 with `options` set, or the exit
// status (2) with `message` saying what is wrong. The pages have no log-in yet, so only a loopback
// address (127.0.0.0/8, ::1, localhost) is taken.
int ReadPlantOptions(const QStringList& arguments, PlantOptions& options, std::string& message);

constexpr const char* kPlantUsage = "Usage: tallion-plant --db CONNINFO [--listen HOST:PORT]\n"
                                    "  Serves the plant database's pages to a browser (default 127.0.0.1:8080).\n"
                                    "  Connect with a role that may only read the views (see the README).\n";
