#pragma once
// What the deletion question names: the carcass of the chosen grid row, so that the operator
// sees which one goes before answering.

#include <QString>
#include <QStringList>

// The row's time, date and carcass number from its grid cells ("Time 09:30:00, date 14-03-2024,
// carcass 000031"; the colour template shows no carcass number); a message row (an alert or a
// cancel) is named by its text.
QString DeletionDetail(const QStringList& cells, bool messageRow, int templateNumber);
