#pragma once
// The per-user settings store: named text values by section and key, in an INI file.
// Section and key names compare without regard to case. Nothing is cached. Values are text as
// the INI file holds it, UTF-8; a file with values in another encoding (a hand edit) has them
// read as Latin-1 and is rewritten once as UTF-8. A path value written by hand is read to its
// line end (HandWrittenValues.h); a settings file that is no regular file, a link loop or larger
// than 1 MiB is neither read nor written (SettingsFileBytes.h).

#include <QString>
#include <string>

class OperatorNotices;

class SettingsStore {
public:
    // `iniPath` empty: the per-user file of the "Tallion" application.
    explicit SettingsStore(const QString& iniPath = QString());

    // The stored text (UTF-8), or `defaultText` when the key is absent (the default is not
    // written back).
    std::string ReadSetting(const std::string& section, const std::string& key, const std::string& defaultText) const;
    // Stores the text (UTF-8) at once, creating section and key as needed.
    void WriteSetting(const std::string& section, const std::string& key, const std::string& text);

    // A setting that holds a file name: the bytes the file system takes (Qt's file-name
    // encoding) and back.
    static std::string PathFromText(const std::string& text);
    static std::string TextFromPath(const std::string& path);
    // A setting that holds characters of the station's one-byte texts (a scale's header
    // character): UTF-8 to one byte per character and back; a character beyond 255 becomes "?".
    static std::string BytesFromText(const std::string& text);
    static std::string TextFromBytes(const std::string& bytes);

    QString FilePath() const { return path_; }

    // Where a failed write is told, once per fault (without waiting: a write may happen inside
    // the receive tick). Without it, failures go to standard error only.
    void SetNotices(OperatorNotices* notices) { notices_ = notices; }

    // Port numbers are kept as one character, code 48 + n ("1".."9", ":" for 10 ... "@" for 16).
    static std::string PortNumberText(int port);
    // Code of the first character minus 48; `fallback` for an empty text.
    static int PortNumberFromText(const std::string& text, int fallback);

private:
    // `problem`: why the file was not even tried; empty to ask the file system.
    void ReportWriteFailure(const QString& problem = QString());
    // Rewrites a file whose values are not all UTF-8 (see above); never loses a value. Returns
    // the text as the file now holds it.
    QByteArray ConvertToUtf8(const QByteArray& bytes) const;
    // The file the settings live in: behind a symbolic link, the linked file.
    QString Target() const;

    QString path_;
    OperatorNotices* notices_ = nullptr;
    bool failureShown_ = false;
};
