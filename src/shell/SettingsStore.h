#pragma once
// The per-user settings store: named text values by section and key, in an INI file.
// Section and key names compare without regard to case. Nothing is cached.

#include <QString>
#include <string>

class OperatorNotices;

class SettingsStore {
public:
    // `iniPath` empty: the per-user file of the "Tallion" application.
    explicit SettingsStore(const QString& iniPath = QString());

    // The stored text, or `defaultText` when the key is absent (the default is not written back).
    std::string ReadSetting(const std::string& section, const std::string& key, const std::string& defaultText) const;
    // Stores the text at once, creating section and key as needed.
    void WriteSetting(const std::string& section, const std::string& key, const std::string& text);

    QString FilePath() const { return path_; }

    // Where a failed write is told, once per fault (without waiting: a write may happen inside
    // the receive tick). Without it, failures go to standard error only.
    void SetNotices(OperatorNotices* notices) { notices_ = notices; }

    // Port numbers are kept as one character, code 48 + n ("1".."9", ":" for 10 ... "@" for 16).
    static std::string PortNumberText(int port);
    // Code of the first character minus 48; `fallback` for an empty text.
    static int PortNumberFromText(const std::string& text, int fallback);

private:
    void ReportWriteFailure();

    QString path_;
    OperatorNotices* notices_ = nullptr;
    bool failureShown_ = false;
};
