#pragma once
// Acting on a modal dialog from a test: the action runs inside the dialog's own event loop once
// the dialog is on screen. A dialog that never shows fails the test instead of hanging it.

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

template <class Dialog>
void WhenModalShows(std::function<void(Dialog&)> act, int attemptsLeft = 200)
{
    QTimer::singleShot(10, [act = std::move(act), attemptsLeft]() mutable {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            act(*dialog);
            return;
        }
        if (attemptsLeft > 0)
            WhenModalShows<Dialog>(std::move(act), attemptsLeft - 1);
        else
            ADD_FAILURE() << "the expected dialog did not show";
    });
}
