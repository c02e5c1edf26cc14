#pragma once
// Every question the station puts to the operator goes through this interface, so that tests
// can script the answers and read back what was asked. The file choosers, the printer dialog and
// the desktop's document viewer belong to the windows; the plain questions are OperatorQuestions.

#include "station/OperatorQuestions.h"

#include <QString>
#include <optional>

class NoticeBoard;
class QPrinter;

class OperatorDialogs : public OperatorQuestions {
public:
    // `filter` in the station's "Name (*.x)|*.x|ALL FILES (*.*)|*.*" form. nullopt when cancelled.
    virtual std::optional<QString> OpenFile(const QString& title, const QString& filter,
                                            const QString& initialPath) = 0;
    virtual std::optional<QString> SaveFile(const QString& title, const QString& filter,
                                            const QString& initialPath) = 0;
    // false when cancelled.
    virtual bool PrinterDialog(QPrinter& printer) = 0;
    // Opens a document with the desktop's viewer; false when that failed.
    virtual bool OpenDocument(const QString& path) = 0;
    // From now on notices go to `board` (the main window's strip) rather than boxes; a test's
    // recording dialogs keep recording them.
    virtual void ShowNoticesOn(NoticeBoard* board) { (void)board; }
};
