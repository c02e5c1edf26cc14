#pragma once
// The plant database's panel in the status bar: "Database: ..." with the reason on hover,
// following what the station's database part says.

#include <QLabel>

class StationDatabase;
class QStatusBar;

class DatabasePanel : public QLabel {
    Q_OBJECT
public:
    // Added to `bar` as a permanent panel, which owns it.
    DatabasePanel(StationDatabase& database, QStatusBar& bar);

private:
    void Show(const StationDatabase& database);
};
