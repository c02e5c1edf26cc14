#include "database/PlantNotify.h"

std::vector<std::string> PlantNotifyStatements()
{
    // Per statement, not per row: a backlog of 100,000 lines sent in batches is one notice per
    // batch and station. A trigger with a transition table has one event, hence two triggers.
    return {
        "CREATE FUNCTION tallion.notify_lines() RETURNS trigger LANGUAGE plpgsql"
        " SET search_path = pg_catalog, pg_temp AS"
        " $$ BEGIN PERFORM pg_notify('tallion_lines', s.station) FROM (SELECT DISTINCT station FROM changed) s;"
        " RETURN NULL; END $$",
        "CREATE TRIGGER lines_notify_insert AFTER INSERT ON tallion.lines REFERENCING NEW TABLE AS changed"
        " FOR EACH STATEMENT EXECUTE FUNCTION tallion.notify_lines()",
        "CREATE TRIGGER lines_notify_update AFTER UPDATE ON tallion.lines REFERENCING NEW TABLE AS changed"
        " FOR EACH STATEMENT EXECUTE FUNCTION tallion.notify_lines()",
    };
}
