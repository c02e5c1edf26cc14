// The grid's mouse and key events, and deleting the picked row from the grid and the log file.

#include "logviewer/LogViewer.h"

#include "log/DeletionQuestion.h"
#include "log/LogFileChunks.h"
#include "log/LogFileSystem.h"
#include "log/LogFileText.h"
#include "log/LogLineDeletion.h"
#include "log/LogRecordFormat.h"
#include "logviews/ResultGridModel.h"
#include "station/StationCore.h"
#include "widgets/OperatorDialogs.h"

#include <QAction>
#include <QFile>
#include <QKeyEvent>
#include <QMenu>
#include <QTableView>
#include <QToolButton>

namespace {

// Passes the Delete key on the grid to `onDelete`.
class DeleteKeyFilter : public QObject {
public:
    DeleteKeyFilter(QObject* parent, std::function<void()> onDelete)
        : QObject(parent)
        , onDelete_(std::move(onDelete))
    {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
            onDelete_();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> onDelete_;
};

} // namespace

void LogViewer::WireGridEvents()
{
    QToolButton* del = controls_.deleteRow;
    QTableView* grid = views_.gridView;
    connect(del, &QToolButton::clicked, this, &LogViewer::DeleteRow);
    // A row picked (mouse or keyboard) makes Delete usable, the Delete key deletes, the right
    // button (or the menu key) pops up the File menu.
    connect(grid->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this, del, grid] {
        const bool picked = grid->selectionModel()->hasSelection();
        del->setEnabled(picked);
        Menu("mnuDel")->setEnabled(picked);
    });
    grid->installEventFilter(new DeleteKeyFilter(grid, [this] { DeleteRow(); }));
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid, &QTableView::customContextMenuRequested, this, [this, grid](const QPoint& position) {
        if (QMenu* file = Menu("mnuFile")->menu())
            file->popup(grid->viewport()->mapToGlobal(position));
    });
}

void LogViewer::DeleteRow()
{
    QTableView* grid = views_.gridView;
    ResultGridModel* model = views_.grid;
    const std::string& logFilePath = core_.resultLog().logFilePath();
    const int templateNumber = core_.resultFinishing().templateNumber();
    // Only a row the operator picked: the grid's current cell alone (set when the grid is fitted
    // or reached with Tab) is no choice.
    const QModelIndexList picked = grid->selectionModel()->selectedRows();
    if (picked.isEmpty())
        return;
    const int row = picked.first().row() + 1;
    if (dialogs_.Message(QStringLiteral("Really to delete?"), QStringLiteral("Delete"), MessageIcon::Question,
                         MessageButtons::OkCancelSafe,
                         DeletionDetail(model->RowCells(row), model->IsMessageRow(row), templateNumber))
        != MessageAnswer::Ok)
        return;
    const QString deleteTitle = QStringLiteral("Delete");
    if (logFilePath.empty()) {
        dialogs_.Message(QStringLiteral("No log file is open: the row was not deleted."), deleteTitle,
                         MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    }

    // The row is line row + 1 of the file. A loaded row must find its own bytes there, a row
    // shown since the load the same cells as it shows; anything else means the file changed.
    const std::optional<std::string_view> loaded = model->LoadedLine(row);
    const QStringList shown = model->RowCells(row);
    const int columns = model->Columns();
    auto isTheLine = [&](std::string_view line) {
        if (loaded)
            return IsLineShownAs(WithoutLineEndView(line), WithoutLineEndView(*loaded));
        return ResultGridModel::CellsOfStoredLine(line, templateNumber, columns) == shown;
    };
    const LineDeletionResult result = DeleteLogLine(logFilePath, static_cast<size_t>(row) + 1, isTheLine,
                                                    PosixLogFileSystem(), window_->LogObserver());
    const QString path = QFile::decodeName(QByteArray::fromStdString(logFilePath));
    switch (result.outcome) {
    case LineDeletion::NotIdentified:
        dialogs_.Message(QStringLiteral("The log file has changed since this row was shown, so its line "
                                        "cannot be found with certainty. Nothing was deleted.\r\n%1")
                             .arg(path),
                         deleteTitle, MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    case LineDeletion::Failed:
        dialogs_.Message(QStringLiteral("%1\r\n%2\r\nThe log file was left as it was.")
                             .arg(QString::fromLocal8Bit(result.error.c_str()), path),
                         deleteTitle, MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    case LineDeletion::Deleted: break;
    }
    model->RemoveResultRow(row);
    // The rows below moved up: nothing stays chosen, so a second Delete cannot take a neighbour.
    grid->clearSelection();
    grid->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    if (GridHasScrollBar(grid))
        ScrollGridToLastRow(views_);
    if (!result.error.empty()) {
        dialogs_.Message(QStringLiteral("The row was deleted, but the change may not survive a power cut: "
                                        "%1\r\n%2")
                             .arg(QString::fromLocal8Bit(result.error.c_str()), path),
                         deleteTitle, MessageIcon::Exclamation, MessageButtons::Ok);
    }
}
