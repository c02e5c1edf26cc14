#pragma once
// A terminal pane, a grid model and a grid view wired together as the main window wires them,
// plus readers for what a test wants to see of them.

#include "logviews/ResultGridModel.h"
#include "logviews/ResultView.h"
#include "logviews/TerminalPane.h"

#include <QHeaderView>
#include <QTableView>
#include <QTextBlock>
#include <QTextDocument>
#include <gtest/gtest.h>

#include <set>
#include <string>

class ResultViewsFixture : public ::testing::Test {
protected:
    ResultViewsFixture()
    {
        gridView.setModel(&grid);
        gridView.resize(600, 200);
        gridView.verticalHeader()->hide(); // as the grid is laid out for every template
        views.terminal = &pane;
        views.grid = &grid;
        views.gridView = &gridView;
    }

    void SetColumns(int count)
    {
        QStringList titles;
        for (int i = 0; i < count; ++i)
            titles << QStringLiteral("T%1").arg(i);
        grid.SetColumnTitles(titles);
    }

    std::string PaneText() const { return pane.Text().toLatin1().toStdString(); }
    std::string CellText(int row, int column) const { return grid.Cell(row, column).toLatin1().toStdString(); }

    // Colours of the visible characters of pane line `line` (0-based).
    std::set<QRgb> LineColours(int line) const
    {
        std::set<QRgb> colours;
        const QTextBlock block = pane.document()->findBlockByNumber(line);
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().isValid() && it.fragment().length() > 0)
                colours.insert(it.fragment().charFormat().foreground().color().rgb());
        }
        return colours;
    }

    TerminalPane pane;
    ResultGridModel grid;
    QTableView gridView;
    ResultViews views;
};

inline const QRgb kBlackRgb = qRgb(0, 0, 0);
inline const QRgb kRedRgb = qRgb(255, 0, 0);
