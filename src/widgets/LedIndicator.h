#pragma once
// A round indicator lamp drawn by the program in one colour. The link and traffic indicators
// are pairs (or a trio) of these stacked on one spot; showing one and hiding the others gives
// the lamp its state.

#include <QColor>
#include <QWidget>

class LedIndicator : public QWidget {
    Q_OBJECT
public:
    explicit LedIndicator(const QColor& colour, QWidget* parent = nullptr);

    QColor colour() const { return colour_; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor colour_;
};

// A fixed-size spot on which several LedIndicators lie on top of one another.
class IndicatorSpot : public QWidget {
    Q_OBJECT
public:
    explicit IndicatorSpot(int side, QWidget* parent = nullptr);
    // Creates a lamp on this spot, named `name` (the station's control name).
    LedIndicator* AddLamp(const QString& name, const QColor& colour);

protected:
    void resizeEvent(QResizeEvent* event) override;
};
