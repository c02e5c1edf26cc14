// What goes to the server and what comes back to the operator: a batch's lines as one bound
// array parameter, and libpq's connection failures as the reasons the operator reads.

#include "database/PgConnection.h"
#include "database/PgPlantDatabase.h"

#include <gtest/gtest.h>

namespace {

TEST(PgText, LinesBecomeOneArrayParameterWhateverTheyHold)
{
    const struct {
        std::vector<std::string> lines;
        std::string literal;
    } cases[] = {
        {{}, "{}"},
        {{"\tCancel      000012\t"}, "{\"\tCancel      000012\t\"}"},
        {{"a,b", "{c}", "NULL"}, "{\"a,b\",\"{c}\",\"NULL\"}"},
        {{"say \"hi\"", "C:\\probe"}, "{\"say \\\"hi\\\"\",\"C:\\\\probe\"}"},
        {{"'); DROP TABLE tallion_lines; --"}, "{\"'); DROP TABLE tallion_lines; --\"}"},
        {{std::string("nul\0byte", 8), "\xE9t\xE9"},
         "{\"nul\x1A"
         "byte\",\"\xE9t\xE9\"}"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ArrayLiteral(c.lines), c.literal);
}

TEST(PgText, ConnectionFailuresTellTheOperatorWhatToCheck)
{
    const struct {
        const char* libpq;
        DatabaseFault fault;
        const char* message;
    } cases[] = {
        {"connection to server on socket \"/run/x/.s.PGSQL.5432\" failed: FATAL:  password authentication failed for "
         "user \"line1\"\n",
         DatabaseFault::Authentication,
         "Wrong password or unknown role (the password comes from the password file ~/.pgpass): connection to server "
         "on socket \"/run/x/.s.PGSQL.5432\" failed: FATAL:  password authentication failed for user \"line1\""},
        {"connection to server at \"db\" (10.0.0.5), port 5432 failed: fe_sendauth: no password supplied\n",
         DatabaseFault::Authentication,
         "Wrong password or unknown role (the password comes from the password file ~/.pgpass): connection to server "
         "at \"db\" (10.0.0.5), port 5432 failed: fe_sendauth: no password supplied"},
        {"could not translate host name \"dbx\" to address: Name or service not known\n", DatabaseFault::UnknownHost,
         "Unknown database host: could not translate host name \"dbx\" to address: Name or service not known"},
        {"connection to server at \"db\" (10.0.0.5), port 5432 failed: Connection refused\n\tIs the server running on "
         "that host and accepting TCP/IP connections?\n",
         DatabaseFault::Unreachable,
         "Nothing answers at port 5432 of db: is the port in Connection the server's, and is the server running? "
         "connection to server at \"db\" (10.0.0.5), port 5432 failed: Connection refused"},
        {"connection to server at \"db\" (10.0.0.5), port 5432 failed: server does not support SSL, but SSL was "
         "required\n",
         DatabaseFault::Tls,
         "The encrypted (TLS) link to the database server failed; check sslmode and the certificates "
         "(~/.postgresql/root.crt) in Connection: connection to server at \"db\" (10.0.0.5), port 5432 failed: "
         "server does not support SSL, but SSL was required"},
        {"invalid sslmode value: \"sometimes\"\n", DatabaseFault::ConnectionSetting,
         "The database connection string holds a wrong value: invalid sslmode value: \"sometimes\""},
        {"connection to server on socket \"/s/.s.PGSQL.5432\" failed: FATAL:  database \"plant\" does not exist\n",
         DatabaseFault::Other,
         "No such database on the server: connection to server on socket \"/s/.s.PGSQL.5432\" failed: FATAL:  "
         "database \"plant\" does not exist"},
    };
    for (const auto& c : cases) {
        const DatabaseResult result = ConnectFailure(c.libpq, "db", "5432");
        EXPECT_EQ(result.fault, c.fault) << c.libpq;
        EXPECT_EQ(result.message, c.message);
    }
}

} // namespace

namespace {

// Connection strings refused before any server is asked: one that libpq cannot read, and one from
// the settings file that holds a password.
TEST(PgText, AConnectionStringThatCannotBeReadOrHoldsAPasswordIsRefused)
{
    const struct {
        const char* conninfo;
        bool passwordAllowed;
        const char* message;
    } cases[] = {
        {"host=db dbname", true,
         "The database connection string cannot be read: missing \"=\" after \"dbname\" in connection info string"},
        {"host=db colour=red", true,
         "The database connection string cannot be read: invalid connection option \"colour\""},
        {"host=db dbname=plant user=line1 password=secret", false,
         "The Connection setting holds a password, which anyone who may read the settings file can read: take out "
         "password= and put the password in the password file ~/.pgpass (or the file PGPASSFILE names), readable by "
         "the station's account only"},
        {"postgresql://line1:secret@db/plant", false,
         "The Connection setting holds a password, which anyone who may read the settings file can read: take out "
         "password= and put the password in the password file ~/.pgpass (or the file PGPASSFILE names), readable by "
         "the station's account only"},
    };
    for (const auto& c : cases) {
        PgPlantDatabase database(c.conninfo, c.passwordAllowed);
        const DatabaseResult result = database.Connect();
        EXPECT_EQ(result.fault, DatabaseFault::ConnectionSetting) << c.conninfo;
        EXPECT_EQ(result.message, c.message);
    }
}

} // namespace
