#pragma once
// The strip of notices inside the main window, under its buttons: one line per notice of the
// NoticeBoard, in plain words, with the technical details one click away and a button that
// closes it. Hidden while there is nothing to tell; no separate windows pile up.

#include <QToolBar>

class NoticeBoard;

class NoticeStrip : public QToolBar {
    Q_OBJECT
public:
    NoticeStrip(NoticeBoard& board, QWidget* parent);

private:
    void Rebuild();

    NoticeBoard& board_;
    QWidget* rows_ = nullptr;
};
