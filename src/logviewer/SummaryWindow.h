#pragma once
// The class summary in a window of its own, so that the grid keeps the main window: the summary's
// text and its charts with a splitter between them, side by side when the window is wide enough
// for the table and the charts, else the text above the charts. Its size and place are kept in
// the settings.

#include <QWidget>

class QPlainTextEdit;
class QSplitter;
class SettingsStore;
class SummaryChartPanel;

class SummaryWindow : public QWidget {
    Q_OBJECT
public:
    // `textFont`: the terminal pane's fixed font; `chartFont`: the grid's.
    SummaryWindow(SettingsStore& settings, const QFont& textFont, const QFont& chartFont, QWidget* parent);

    // The summary's text (CR LF lines); the reader's place in it stays.
    void SetText(const QString& text);
    QPlainTextEdit& text() { return *text_; }
    SummaryChartPanel& charts() { return *charts_; }
    QSplitter& splitter() { return *splitter_; }

    // Where it opens the first time: most of the screen's free area, never more.
    static QRect DefaultGeometry(const QRect& available);

signals:
    // The operator closed the window: the summary ends.
    void closedByOperator();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Text beside the charts when both fit, else above them; the text gets what it needs.
    void Arrange();
    QSize TextNeeds() const;

    SettingsStore& settings_;
    QSplitter* splitter_ = nullptr;
    QPlainTextEdit* text_ = nullptr;
    SummaryChartPanel* charts_ = nullptr;
    bool placed_ = false;
};
