#pragma once
// The real dialogs (QMessageBox, QInputDialog, QFileDialog, QPrintDialog, QDesktopServices).

#include "station/NoticeBoard.h"
#include "widgets/OperatorDialogs.h"

#include <QPointer>
#include <QSet>
#include <QString>
#include <QWidget>
#include <optional>

class QtOperatorDialogs : public OperatorDialogs {
public:
    // `parent`: the window the dialogs belong to; none: the active window.
    explicit QtOperatorDialogs(QWidget* parent = nullptr)
        : parent_(parent)
    {}
    void SetParent(QWidget* parent) { parent_ = parent; }
    // Where notices go once the main window has its strip; before that (and in a tool without
    // one) they are boxes that do not block.
    void ShowNoticesOn(NoticeBoard* board) override { board_ = board; }

    MessageAnswer Message(const QString& text, const QString& title, MessageIcon icon, MessageButtons buttons,
                          const QString& detail = QString()) override;
    // A notice on the board, else a box that does not block; the same text and title is not
    // shown twice.
    void Notify(const QString& text, const QString& title, MessageIcon icon) override;
    void Post(const Notice& notice) override;
    void Clear(const QString& kind) override;
    std::optional<QString> InputBox(const QString& prompt, const QString& title, const QString& defaultText) override;
    std::optional<QString> OpenFile(const QString& title, const QString& filter, const QString& initialPath) override;
    std::optional<QString> SaveFile(const QString& title, const QString& filter, const QString& initialPath) override;
    bool PrinterDialog(QPrinter& printer) override;
    bool OpenDocument(const QString& path) override;

private:
    QWidget* Parent() const;
    QPointer<QWidget> parent_;
    QPointer<NoticeBoard> board_;
    QSet<QString> openNotices_;
    // A notice may outlive these dialogs (closed later by the event loop): its end is only
    // heard while they exist.
    QObject alive_;
};

// "LogFile (*.dif)|*.dif|ALL FILES (*.*)|*.*" -> "LogFile (*.dif);;ALL FILES (*.*)".
QString QtFileFilter(const QString& stationFilter);
