#include "app/CommandLine.h"

#include "settings/PortDeviceMap.h"

#include <QStringDecoder>

QString CommandLineUsage()
{
    return QStringLiteral("Usage: tallion [--settings FILE] [--port N=PATH]... [--weighing] [--demo]\n"
                          "       tallion summary LOGFILE [--with-weight] [--chart FILE.svg|FILE.png]\n"
                          "       tallion summary --db CONNINFO --station NAME [--date YYYY-MM-DD] [--with-weight]\n"
                          "       tallion db init --connection CONNINFO\n"
                          "       tallion db add-station --connection CONNINFO --station NAME --role ROLE\n"
                          "       tallion --help | --version\n"
                          "  --settings FILE  use FILE (INI) as the settings store instead of the per-user one\n"
                          "  --port N=PATH    serial port N (1 to 16) is the device PATH for this run\n"
                          "  --weighing       show the Sequence and Weight menus and start with the weight source,\n"
                          "                   sequence and Use LM% Equation stored by them (without it the station\n"
                          "                   starts with weighing off)\n"
                          "  --demo           run with a simulated probe and scale on pseudo-terminals and temporary\n"
                          "                   settings; with --weighing the scale weighs every carcass first\n"
                          "  --help           print this text\n"
                          "  --version        print the program's name and version\n"
                          "  summary          print the class summary of a log file (or, with --db, of a station's\n"
                          "                   lines in the plant database) and end\n"
                          "  db init          create or upgrade the plant database's tables and end\n"
                          "  db add-station   let the database role ROLE send the lines of station NAME only\n");
}

QString VersionText()
{
    return QStringLiteral("tallion %1.%2.%3")
        .arg(TALLION_VERSION_MAJOR)
        .arg(TALLION_VERSION_MINOR)
        .arg(TALLION_VERSION_PATCH);
}

QStringList ArgumentsOf(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

std::optional<QString> NonTextArgument(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = decoder.decode(QByteArrayView(argv[i]));
        if (decoder.hasError())
            return QStringLiteral("the argument \"%1\" is not UTF-8 text, so the file it names cannot be opened; "
                                  "give the file a UTF-8 name or a link with one")
                .arg(text);
    }
    return std::nullopt;
}

CommandLineOptions ParseCommandLine(const QStringList& arguments)
{
    CommandLineOptions options;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        // Both "--opt value" and "--opt=value" are accepted.
        auto value = [&](const QString& name, QString& out) {
            if (arg == name) {
                if (i + 1 >= arguments.size()) {
                    options.error = QStringLiteral("%1 needs a value").arg(name);
                    return true;
                }
                out = arguments[++i];
                return true;
            }
            if (arg.startsWith(name + '=')) {
                out = arg.mid(name.size() + 1);
                return true;
            }
            return false;
        };
        QString text;
        if (arg == QLatin1String("--demo")) {
            options.demo = true;
        } else if (arg == QLatin1String("--weighing")) {
            options.weighing = true;
        } else if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            options.helpRequested = true;
        } else if (arg == QLatin1String("--version")) {
            options.versionRequested = true;
        } else if (value(QStringLiteral("--settings"), text)) {
            if (!options.error.isEmpty())
                break;
            if (text.isEmpty()) {
                options.error = QStringLiteral("--settings needs a file name");
                break;
            }
            options.settingsPath = text;
        } else if (value(QStringLiteral("--port"), text)) {
            if (!options.error.isEmpty())
                break;
            int port = 0;
            QString path;
            if (!PortDeviceMap::ParsePortOption(text, port, path)) {
                options.error = QStringLiteral("--port wants N=PATH with N from 1 to 16, not \"%1\"").arg(text);
                break;
            }
            options.ports.emplace_back(port, path);
        } else {
            options.error = QStringLiteral("Unknown argument \"%1\"").arg(arg);
            break;
        }
    }
    return options;
}
