#pragma once
// The text window that shows what the probe reports (service information, class summary, clock)
// and saves it as a text file.

#include <QWidget>
#include <string>

class OperatorDialogs;
class QKeyEvent;
class QPlainTextEdit;
class QPushButton;

class TextWindow : public QWidget {
    Q_OBJECT
public:
    explicit TextWindow(OperatorDialogs& dialogs, QWidget* parent = nullptr);

    // Replaces the shown text (bytes, one per character).
    void SetText(const std::string& text);
    QString Text() const;
    // The report exactly as the probe sent it; what "Save as" writes.
    const std::string& Report() const { return report_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FitLongestLine(const QString& text);

    OperatorDialogs& dialogs_;
    std::string report_;
    QPlainTextEdit* reportText = nullptr;
    QPushButton* saveAsButton = nullptr; // Save as
    QPushButton* closeButton = nullptr;  // Close
};
