#include "mainwindow/DatabasePanel.h"

#include "database/StationDatabase.h"

#include <QStatusBar>

DatabasePanel::DatabasePanel(StationDatabase& database, QStatusBar& bar)
    : QLabel(&bar)
{
    setObjectName(QStringLiteral("stbrDatabase"));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setContentsMargins(3, 0, 3, 0);
    bar.addPermanentWidget(this);
    connect(&database, &StationDatabase::panelChanged, this, [this, &database] { Show(database); });
    Show(database);
}

void DatabasePanel::Show(const StationDatabase& database)
{
    setText(database.PanelText());
    setToolTip(database.PanelTip());
}
