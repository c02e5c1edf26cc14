#pragma once
// The result grid's view. Tab moves on to the next control rather than from cell to cell, and
// reaching the grid from the keyboard picks no row (Delete would act on it) and leaves the rows
// where the operator sees them.

#include <QTableView>

class ResultGridView : public QTableView {
public:
    explicit ResultGridView(QWidget* parent = nullptr);

protected:
    void focusInEvent(QFocusEvent* event) override;
};
