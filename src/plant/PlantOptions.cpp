#include "plant/PlantOptions.h"

#include <arpa/inet.h>
#include <cstring>

namespace {

bool IsLoopback(const QString& host)
{
    if (host == QLatin1String("localhost"))
        return true;
    const std::string text = host.toStdString();
    in_addr v4{};
    if (inet_pton(AF_INET, text.c_str(), &v4) == 1)
        return (ntohl(v4.s_addr) >> 24) == 127;
    in6_addr v6{};
    return inet_pton(AF_INET6, text.c_str(), &v6) == 1 && std::memcmp(&v6, &in6addr_loopback, sizeof v6) == 0;
}

} // namespace

int ReadPlantOptions(const QStringList& arguments, PlantOptions& options, std::string& message)
{
    const QStringList names{"--db", "--listen", "--tls-cert", "--tls-key", "--users"};
    QString listen;
    bool haveDb = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& word = arguments[i];
        const QString name = word.section(QLatin1Char('='), 0, 0);
        QString value;
        if (names.contains(name) && word.contains(QLatin1Char('=')))
            value = word.section(QLatin1Char('='), 1);
        else if (names.contains(word) && i + 1 < arguments.size())
            value = arguments[++i];
        else {
            message = "tallion-plant: unexpected argument \"" + word.toStdString() + "\"\n" + kPlantUsage;
            return 2;
        }
        if (name == QLatin1String("--db")) {
            options.conninfo = value.toStdString();
            haveDb = true;
        } else if (name == QLatin1String("--listen"))
            listen = value;
        else if (name == QLatin1String("--tls-cert"))
            options.tlsCert = value.toStdString();
        else if (name == QLatin1String("--tls-key"))
            options.tlsKey = value.toStdString();
        else
            options.users = value.toStdString();
    }
    if (!haveDb) {
        message = std::string("tallion-plant: --db is needed\n") + kPlantUsage;
        return 2;
    }
    if (options.tlsCert.empty() != options.tlsKey.empty()) {
        message = "tallion-plant: --tls-cert and --tls-key go together: the certificate and its private key\n";
        return 2;
    }
    if (listen.isEmpty())
        return 0;
    // "HOST:PORT", "[::1]:PORT".
    const qsizetype colon = listen.lastIndexOf(QLatin1Char(':'));
    QString host = listen.left(colon);
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
        host = host.mid(1, host.size() - 2);
    bool numeric = false;
    const int port = listen.mid(colon + 1).toInt(&numeric);
    if (colon <= 0 || !numeric || port < 1 || port > 65535) {
        message = "tallion-plant: --listen wants HOST:PORT, as 127.0.0.1:8080, not \"" + listen.toStdString() + "\"\n";
        return 2;
    }
    if (!IsLoopback(host) && (options.tlsCert.empty() || options.users.empty())) {
        std::string missing;
        if (options.tlsCert.empty())
            missing = "--tls-cert and --tls-key";
        if (options.users.empty())
            missing += std::string(missing.empty() ? "" : ", ") + "--users";
        message = "tallion-plant: not listening on \"" + host.toStdString() + "\" without " + missing
                  + ": beyond this computer the pages are served only over TLS and to users who log in "
                    "(127.0.0.1, ::1 and localhost need neither).\n";
        return 2;
    }
    options.host = host.toStdString();
    options.port = port;
    return 0;
}
