#include "database/DatabaseCommands.h"

#include "database/DatabaseSchema.h"
#include "database/PgConnection.h"
#include "database/ResyncCommand.h"
#include "log/ClassSummary.h"

#include <QDate>
#include <QDateTime>
#include <cerrno>
#include <cstring>
#include <map>

namespace {

constexpr const char* kDbUsage =
    "Usage: tallion db init --connection CONNINFO\n"
    "       tallion db add-station --connection CONNINFO --station NAME --role ROLE\n"
    "       tallion db resync --connection CONNINFO --station NAME LOG\n"
    "  init creates or upgrades the station's tables in the plant database (run it as a role\n"
    "  that may create tables; the password comes from ~/.pgpass). add-station lets the\n"
    "  existing login role ROLE send the lines of the station NAME, and those only. resync\n"
    "  compares the log file LOG with the station's lines in the database and mends the difference.\n";

constexpr const char* kSummaryUsage =
    "Usage: tallion summary --db CONNINFO --station NAME [--date YYYY-MM-DD] [--with-weight]\n"
    "  Prints the class summary of the station's lines in the plant database that are not deleted;\n"
    "  --date keeps the lines logged on that day (the computer's time zone).\n";

// Reads "--name value" and "--name=value" options and plain flags; false on a word it does not know.
bool ReadOptions(const QStringList& arguments, const QStringList& valued, const QStringList& flags,
                 std::map<QString, QString>& options, QString& wrong)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& word = arguments[i];
        const QString name = word.section(QLatin1Char('='), 0, 0);
        if (flags.contains(word)) {
            options[word] = QStringLiteral("1");
        } else if (valued.contains(name) && word.contains(QLatin1Char('='))) {
            options[name] = word.section(QLatin1Char('='), 1);
        } else if (valued.contains(word) && i + 1 < arguments.size()) {
            options[word] = arguments[++i];
        } else {
            wrong = word;
            return false;
        }
    }
    return true;
}

bool Print(const std::string& text, FILE* out, FILE* err)
{
    if (std::fwrite(text.data(), 1, text.size(), out) == text.size() && std::fflush(out) == 0)
        return true;
    std::fprintf(err, "tallion: cannot write the output: %s\n", std::strerror(errno));
    return false;
}

} // namespace

bool IsDbCommand(int argc, char** argv)
{
    return argc > 1 && std::strcmp(argv[1], "db") == 0;
}

int RunDbCommand(const QStringList& arguments, FILE* out, FILE* err)
{
    const QString command = arguments.value(1);
    if (command == QLatin1String("resync"))
        return RunResyncCommand(arguments.mid(1), out, err);
    const bool init = command == QLatin1String("init");
    if (!init && command != QLatin1String("add-station")) {
        std::fputs(kDbUsage, arguments.contains(QStringLiteral("--help")) ? out : err);
        return arguments.contains(QStringLiteral("--help")) ? 0 : 2;
    }
    const std::string name = "tallion db " + command.toStdString();
    QStringList needed{QStringLiteral("--connection")};
    if (!init)
        needed << QStringLiteral("--station") << QStringLiteral("--role");
    std::map<QString, QString> options;
    QString wrong;
    if (!ReadOptions(arguments.mid(1), needed, {}, options, wrong) || options.size() != size_t(needed.size())) {
        std::fprintf(err, "%s: %s\n%s", name.c_str(),
                     wrong.isEmpty() ? ("needs " + needed.join(QStringLiteral(", ")).toStdString()).c_str()
                                     : ("unexpected argument \"" + wrong.toStdString() + "\"").c_str(),
                     kDbUsage);
        return 2;
    }
    PgConnection connection(options[QStringLiteral("--connection")].toStdString());
    DatabaseResult result = connection.Open();
    if (result.ok() && init)
        result = CreateOrUpgradeSchema(connection);
    else if (result.ok())
        result = AddStation(connection, options[QStringLiteral("--station")].toStdString(),
                            options[QStringLiteral("--role")].toStdString());
    if (!result.ok()) {
        std::fprintf(err, "%s: %s\n", name.c_str(), result.message.c_str());
        return 1;
    }
    if (init)
        std::fprintf(out, "The plant database holds the Tallion tables, version %d.\n", kSchemaVersion);
    else
        std::fprintf(out, "The role %s sends the lines of station \"%s\", and those only.\n",
                     options[QStringLiteral("--role")].toLocal8Bit().constData(),
                     options[QStringLiteral("--station")].toLocal8Bit().constData());
    return 0;
}

bool IsDbSummaryCommand(const QStringList& arguments)
{
    for (const QString& word : arguments)
        if (word == QLatin1String("--db") || word.startsWith(QLatin1String("--db=")))
            return true;
    return false;
}

int RunDbSummaryCommand(const QStringList& arguments, FILE* out, FILE* err)
{
    std::map<QString, QString> options;
    QString wrong;
    const QString db = QStringLiteral("--db");
    const QString station = QStringLiteral("--station");
    const QString date = QStringLiteral("--date");
    const QString withWeight = QStringLiteral("--with-weight");
    if (!ReadOptions(arguments, {db, station, date}, {withWeight}, options, wrong)) {
        std::fprintf(err, "tallion summary: unexpected argument \"%s\"\n%s", wrong.toLocal8Bit().constData(),
                     kSummaryUsage);
        return 2;
    }
    if (!options.count(db) || !options.count(station)) {
        std::fprintf(err, "tallion summary: --db and --station are needed\n%s", kSummaryUsage);
        return 2;
    }
    std::string sql = "SELECT line FROM public.result_lines WHERE station = $1 AND deleted_at IS NULL";
    std::vector<std::string> parameters{options[station].toStdString()};
    std::string label = parameters[0];
    if (options.count(date)) {
        const QDate day = QDate::fromString(options[date], QStringLiteral("yyyy-MM-dd"));
        if (!day.isValid()) {
            std::fprintf(err, "tallion summary: --date wants YYYY-MM-DD, not \"%s\"\n",
                         options[date].toLocal8Bit().constData());
            return 2;
        }
        // The day's bounds in the computer's time zone, so that a day of a clock change is whole.
        sql += " AND logged_at >= to_timestamp($2::bigint / 1000.0) AND logged_at < to_timestamp($3::bigint / 1000.0)";
        parameters.push_back(std::to_string(day.startOfDay().toMSecsSinceEpoch()));
        parameters.push_back(std::to_string(day.addDays(1).startOfDay().toMSecsSinceEpoch()));
        label += " " + options[date].toStdString();
    }
    const SummaryMode mode = options.count(withWeight) ? SummaryMode::WithWeight : SummaryMode::WithoutWeight;

    PgConnection connection(options[db].toStdString());
    DatabaseResult result = connection.Open();
    PgResultPtr rows;
    if (result.ok())
        result = connection.Exec(sql, parameters, &rows);
    if (!result.ok()) {
        std::fprintf(err, "tallion summary: %s\n", result.message.c_str());
        return 1;
    }
    ClassSummaryTally tally(mode);
    std::string line;
    for (int r = 0; r < PQntuples(rows.get()); ++r) {
        line.assign(PQgetvalue(rows.get(), r, 0), static_cast<size_t>(PQgetlength(rows.get(), r, 0)));
        line += "\r\n";
        tally.AddLines(line);
    }
    return Print(ClassSummaryText(label, tally.Body(), mode, SummaryNotes{tally.LeftOut()}), out, err) ? 0 : 1;
}
