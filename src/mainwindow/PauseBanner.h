#pragma once
// A band across the main window while the station is paused: in large type, that the probe's
// results are held and how many, so that nobody wonders where the carcasses went.

#include <QLabel>

class PauseBanner : public QLabel {
    Q_OBJECT
public:
    explicit PauseBanner(QWidget* parent);

    // Shown while `paused`, with the count of messages held so far.
    void ShowState(bool paused, int held);
    // Across `width` at the top `top` of the views.
    void Place(int left, int top, int width);
};
