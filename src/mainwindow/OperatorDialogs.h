#pragma once
// Every question the station puts to the operator goes through this interface, so that tests
// can script the answers and read back what was asked.

#include "probe/OperatorNotices.h"

#include <QPointer>
#include <QSet>
#include <QString>
#include <QWidget>
#include <optional>

class QPrinter;

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

class OperatorDialogs : public OperatorNotices {
public:
    // A modal question; never from inside the receive tick (use Notify there). `detail`, when
    // given, shows under the question and says what it is about (which row, which file).
    virtual MessageAnswer Message(const QString& text, const QString& title, MessageIcon icon, MessageButtons buttons,
                                  const QString& detail = QString()) = 0;
    // nullopt when cancelled.
    virtual std::optional<QString> InputBox(const QString& prompt, const QString& title,
                                            const QString& defaultText) = 0;
    // `filter` in the station's "Name (*.x)|*.x|ALL FILES (*.*)|*.*" form. nullopt when cancelled.
    virtual std::optional<QString> OpenFile(const QString& title, const QString& filter,
                                            const QString& initialPath) = 0;
    virtual std::optional<QString> SaveFile(const QString& title, const QString& filter,
                                            const QString& initialPath) = 0;
    // false when cancelled.
    virtual bool PrinterDialog(QPrinter& printer) = 0;
    // Opens a document with the desktop's viewer; false when that failed.
    virtual bool OpenDocument(const QString& path) = 0;
};

// The real dialogs (QMessageBox, QInputDialog, QFileDialog, QPrintDialog, QDesktopServices).
class QtOperatorDialogs : public OperatorDialogs {
public:
    // `parent`: the window the dialogs belong to; none: the active window.
    explicit QtOperatorDialogs(QWidget* parent = nullptr)
        : parent_(parent)
    {}
    void SetParent(QWidget* parent) { parent_ = parent; }

    MessageAnswer Message(const QString& text, const QString& title, MessageIcon icon, MessageButtons buttons,
                          const QString& detail = QString()) override;
    // A box that does not block; the same text and title is not opened twice while on screen.
    void Notify(const QString& text, const QString& title, MessageIcon icon) override;
    std::optional<QString> InputBox(const QString& prompt, const QString& title, const QString& defaultText) override;
    std::optional<QString> OpenFile(const QString& title, const QString& filter, const QString& initialPath) override;
    std::optional<QString> SaveFile(const QString& title, const QString& filter, const QString& initialPath) override;
    bool PrinterDialog(QPrinter& printer) override;
    bool OpenDocument(const QString& path) override;

private:
    QWidget* Parent() const;
    QPointer<QWidget> parent_;
    QSet<QString> openNotices_;
};

// "LogFile (*.dif)|*.dif|ALL FILES (*.*)|*.*" -> "LogFile (*.dif);;ALL FILES (*.*)".
QString QtFileFilter(const QString& stationFilter);
