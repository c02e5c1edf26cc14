#include "mainwindow/ResultGridView.h"

#include <QFocusEvent>
#include <QScrollBar>

ResultGridView::ResultGridView(QWidget* parent)
    : QTableView(parent)
{
    setTabKeyNavigation(false);
}

void ResultGridView::focusInEvent(QFocusEvent* event)
{
    // The item view makes the first cell current and scrolls to it when focus arrives without
    // one; neither is the operator's doing.
    const bool hadCurrent = currentIndex().isValid();
    const int left = horizontalScrollBar()->value();
    const int top = verticalScrollBar()->value();
    QTableView::focusInEvent(event);
    if (!hadCurrent && currentIndex().isValid() && selectionModel())
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    horizontalScrollBar()->setValue(left);
    verticalScrollBar()->setValue(top);
}
