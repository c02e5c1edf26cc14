#pragma once
// The print dialog: print the result grid (and the summary, when shown) to a text file or to
// paper. It names the text file after the log file, in the folder chosen last.

#include <QDialog>
#include <functional>
#include <string>

class OperatorDialogs;
class QLabel;
class QPushButton;
class QToolButton;
class SettingsStore;

class PrintWindow : public QDialog {
    Q_OBJECT
public:
    struct Actions {
        std::function<void()> printToFile;  // the print to a text file
        std::function<void()> printToPaper; // the print on paper
    };

    // `textFilePath` is the station's: set here, read by the print to file.
    PrintWindow(OperatorDialogs& dialogs, SettingsStore& settings, const std::string& logFilePath,
                std::string& textFilePath, Actions actions, QWidget* parent = nullptr);

    QString FileTitle() const;
    QString Folder() const;

private:
    void OnPrintToFile();
    void OnPrintToPaper();
    void OnFolder();

    OperatorDialogs& dialogs_;
    SettingsStore& settings_;
    std::string logFilePath_;
    std::string& textFilePath_;
    Actions actions_;

    QLabel* folderLabel = nullptr;
    QLabel* pathLabel = nullptr;
    QLabel* fileTitleLabel = nullptr;
    QPushButton* printToFileButton = nullptr;
    QPushButton* printToPrinterButton = nullptr;
    QPushButton* cancelButton = nullptr;
    QToolButton* folderButton = nullptr;
};
