// The window's two layouts (compact and detail), resizing, fitting the grid to whole rows, and
// the state of Find and Print.

#include "mainwindow/MainWindow.h"
#include "mainwindow/PauseBanner.h"

#include "layout/LayoutGeometry.h"
#include "logviewer/LogViewer.h"
#include "logviews/TerminalPane.h"

#include <QAction>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QResizeEvent>
#include <QStatusBar>
#include <QTableView>
#include <QToolButton>

void MainWindow::PlaceViews(bool onResize)
{
    PlaceViews(onResize ? LayoutTrigger::Resize : LayoutTrigger::Toggle);
}

void MainWindow::PlaceViews(LayoutTrigger trigger)
{
    const bool onResize = trigger == LayoutTrigger::Resize;
    LayoutInput in;
    in.outerHeight = TwY(frameGeometry().height());
    in.statusFrameHeight = TwY(statusFrame->height());
    in.resultFrameHeight = TwY(detailFrames_->height());
    in.statusBarHeight = TwY(statusBar()->height());
    // On a resize the layout is the one on screen; the toggle says which one it wants.
    in.detail = onResize ? !resultFrame->isHidden() : isShow_;
    in.summary = logViewer_ && logViewer_->TerminalWanted();
    in.trigger = trigger;
    const ViewGeometry g = ComputeViewGeometry(in);

    const int left = PxX(kViewLeft);
    const int width = PxX(ViewWidth(TwX(central_->width())));
    // The outer height includes whatever the desktop draws around the window, so the designed
    // arithmetic can reach past the area between menu and status bar; keep views inside it.
    const int bottom = central_->height() - 2;
    auto place = [&](QWidget* view, double topTwips, double heightTwips) {
        const int top = PxY(topTwips);
        const int height = qMax(0, qMin(PxY(heightTwips), bottom - top));
        view->setGeometry(left, top, width, height);
    };

    statusFrame->setGeometry(left, 0, width, statusFrame->height());
    detailFrames_->setGeometry(left, statusFrame->height(), width, detailFrames_->height());
    place(resultGrid, g.gridTop, g.gridHeight);
    pauseBanner_->Place(left, PxY(g.gridTop), width);
    if (g.terminalPlaced)
        place(terminalPane, g.terminalTop, g.terminalHeight);
    FitGridToWholeRows();
}

void MainWindow::FitGridToWholeRows()
{
    // The grid's height ends with a whole row: the viewport takes as many whole rows as fit
    // (rows are all of one height) and the part row at the bottom is trimmed off. Scrolled to
    // the end, the last row then sits on the bottom edge and the top row is not cut either.
    resultGrid->doItemsLayout(); // header, scroll bars and viewport as they are now
    const int rowHeight = resultGrid->verticalHeader()->defaultSectionSize();
    const int viewport = resultGrid->viewport()->height();
    if (rowHeight <= 0 || viewport < rowHeight)
        return;
    const int wholeRows = viewport / rowHeight * rowHeight;
    if (wholeRows < viewport) {
        resultGrid->resize(resultGrid->width(), resultGrid->height() - (viewport - wholeRows));
        resultGrid->doItemsLayout(); // the scroll range must follow the new height now
    }
}

void MainWindow::ToggleLayout()
{
    if (isShow_) {
        for (QWidget* frame : std::initializer_list<QWidget*>{weightFrame, resultFrame, pendingFrame, errorFrame})
            frame->hide();
        detailFrames_->hide();
        isShow_ = false;
    } else {
        // Without weighing there is nothing to type in and nothing waiting between stations.
        const bool weighing = !NoWeightTicked();
        weightFrame->setVisible(weighing);
        pendingFrame->setVisible(weighing);
        resultFrame->show();
        errorFrame->show();
        detailFrames_->show();
        isShow_ = true;
    }
    PlaceViews(false);
    if (GridHasScrollBar(resultGrid)) {
        FitGridToLastRows();
        ScrollGridToLastRow(views_);
    }
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    // The least size is kept by setMinimumSize (start-up), so the window springs back by itself.
    if (isMinimized() || !resultGrid)
        return;
    PlaceViews(true);
    if (GridHasScrollBar(resultGrid))
        FitGridToLastRows();
}

void MainWindow::FitGridToLastRows()
{
    const QAbstractItemModel* model = resultGrid->model();
    const int last = model ? model->rowCount() - 1 : -1;
    if (last < 0)
        return;
    FitGridToWholeRows();
    const QModelIndex lastCell = model->index(last, 0);
    resultGrid->selectionModel()->setCurrentIndex(lastCell, QItemSelectionModel::NoUpdate);
    resultGrid->scrollTo(lastCell, QAbstractItemView::PositionAtBottom);
}

void MainWindow::RefreshFindPrint()
{
    const bool usable = core_->link().probeLinkAlive() || core_->link().stationPaused();
    MenuAction(QStringLiteral("mnuFind"))->setEnabled(usable);
    MenuAction(QStringLiteral("mnuPrint"))->setEnabled(usable);
    findButton->setEnabled(usable);
    printButton->setEnabled(usable);
}
