#include "log/DeletionQuestion.h"

namespace {

// The colour template shows no carcass number.
constexpr int kColourTemplate = 10;

} // namespace

QString DeletionDetail(const QStringList& cells, bool messageRow, int templateNumber)
{
    if (messageRow)
        return cells.value(0).trimmed();
    // The grid shows the time in column 0, the date in 1 and the carcass number in 2.
    QStringList parts;
    const QString time = cells.value(0).trimmed();
    const QString date = cells.value(1).trimmed();
    const QString counter = templateNumber == kColourTemplate ? QString() : cells.value(2).trimmed();
    if (!time.isEmpty())
        parts << QStringLiteral("Time %1").arg(time);
    if (!date.isEmpty())
        parts << QStringLiteral("date %1").arg(date);
    if (!counter.isEmpty())
        parts << QStringLiteral("carcass %1").arg(counter);
    return parts.join(QStringLiteral(", "));
}
