#pragma once
// Acts on a modal dialog from a test, inside the dialog's own event loop once it is on screen.

#include <QApplication>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

template <class Dialog>
void WhenModalShows(std::function<void(Dialog&)> act, int attemptsLeft = 200)
{
    QTimer::singleShot(10, [act = std::move(act), attemptsLeft]() mutable {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget()))
            act(*dialog);
        else if (attemptsLeft > 0)
            WhenModalShows<Dialog>(std::move(act), attemptsLeft - 1);
        else
            ADD_FAILURE() << "the expected dialog did not show";
    });
}
