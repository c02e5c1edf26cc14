#pragma once
// The text window that shows what the probe reports: service information, class summary, clock.

#include <QWidget>

class QPlainTextEdit;

class FrmText : public QWidget {
    Q_OBJECT
public:
    explicit FrmText(QWidget* parent = nullptr);

    // Replaces the shown text (bytes, one per character).
    void SetText(const std::string& text);
    QString Text() const;

private:
    QPlainTextEdit* Text1 = nullptr;
};
