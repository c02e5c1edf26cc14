#include "settings/SettingsStore.h"

#include "log/FileModes.h"
#include "probe/OperatorNotices.h"
#include "resources/AppTitle.h"
#include "settings/HandWrittenValues.h"
#include "settings/ReplaceFile.h"
#include "settings/SettingsFileBytes.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringDecoder>
#include <QStringList>
#include <QVariant>
#include <optional>

namespace {

QString FromBytes(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToBytes(const QString& text)
{
    return text.toUtf8().toStdString();
}

bool IsUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes); // decoded only when converted to a QString
    (void)text;
    return !decoder.hasError();
}

// The file's text with every line that is not UTF-8 read as Latin-1 (the one-byte encoding a
// hand edit most likely used); nullopt when the file is UTF-8 already.
std::optional<QByteArray> AsUtf8(const QByteArray& bytes)
{
    if (IsUtf8(bytes))
        return std::nullopt;
    QByteArray converted;
    converted.reserve(bytes.size() * 2);
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        end = end < 0 ? bytes.size() : end + 1;
        const QByteArrayView line(bytes.constData() + start, end - start);
        converted += IsUtf8(line) ? line.toByteArray() : QString::fromLatin1(line).toUtf8();
        start = end;
    }
    return converted;
}

// Every group of the file whose name matches `section` without regard to case, the caller's own
// spelling first when the file holds it. A hand-edited file may hold the same section twice.
QStringList MatchingGroups(QSettings& settings, const QString& section)
{
    QStringList found;
    const QStringList groups = settings.childGroups();
    if (groups.contains(section))
        found << section;
    for (const QString& g : groups)
        if (g != section && g.compare(section, Qt::CaseInsensitive) == 0)
            found << g;
    return found;
}

// The stored spelling of `key` inside the current group, or an empty text.
QString MatchingKey(QSettings& settings, const QString& key)
{
    const QStringList keys = settings.childKeys();
    if (keys.contains(key))
        return key;
    for (const QString& k : keys)
        if (k.compare(key, Qt::CaseInsensitive) == 0)
            return k;
    return QString();
}

// QSettings reads an unquoted value with commas from a hand-written file ("4800,e,7,2") as a
// list; the station's values are plain text, so join it back.
QString ValueText(const QVariant& value)
{
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

} // namespace

SettingsStore::SettingsStore(const QString& iniPath)
    : path_(iniPath)
{
    if (path_.isEmpty()) {
        const QSettings user(QSettings::IniFormat, QSettings::UserScope, kAppTitle, kAppTitle);
        path_ = user.fileName();
    }
}

QString SettingsStore::Target() const
{
    // The settings library would put a file in place of a link it cannot resolve; the link's
    // file is written instead, and a loop never reaches the library (ReadSettingsFile refuses it).
    return QFile::decodeName(QByteArray::fromStdString(LinkTarget(QFile::encodeName(path_).toStdString())));
}

std::string SettingsStore::ReadSetting(const std::string& section, const std::string& key,
                                       const std::string& defaultText) const
{
    const SettingsFileBytes file = ReadSettingsFile(path_);
    if (!file.problem.isEmpty())
        return defaultText;
    // Qt reads bytes that are not UTF-8 as U+FFFD, which the next write would store for good.
    const QByteArray utf8 = ConvertToUtf8(file.bytes);
    const QString wantedKey = FromBytes(key);
    const QString wantedSection = FromBytes(section);
    if (IsPathKey(wantedKey)) {
        for (const HandWrittenValue& v : HandWrittenPathValues(utf8))
            if (v.key.compare(wantedKey, Qt::CaseInsensitive) == 0
                && v.section.compare(wantedSection, Qt::CaseInsensitive) == 0)
                return ToBytes(v.value);
    }
    // A fresh QSettings per call: it re-reads the file when another writer changed it.
    QSettings settings(Target(), QSettings::IniFormat);
    for (const QString& group : MatchingGroups(settings, wantedSection)) {
        settings.beginGroup(group);
        const QString stored = MatchingKey(settings, wantedKey);
        if (!stored.isEmpty()) {
            const QString text = ValueText(settings.value(stored));
            settings.endGroup();
            return ToBytes(text);
        }
        settings.endGroup();
    }
    return defaultText;
}

void SettingsStore::WriteSetting(const std::string& section, const std::string& key, const std::string& text)
{
    const SettingsFileBytes file = ReadSettingsFile(path_);
    if (!file.problem.isEmpty()) {
        ReportWriteFailure(file.problem);
        return;
    }
    const QByteArray before = ConvertToUtf8(file.bytes);
    QSettings settings(Target(), QSettings::IniFormat);
    const QString wantedSection = FromBytes(section);
    const QString wantedKey = FromBytes(key);
    const QStringList groups = MatchingGroups(settings, wantedSection);

    // Reuse the spelling the file already has, so that one value never lives under two names.
    QString group = groups.isEmpty() ? wantedSection : groups.first();
    QString storedKey;
    for (const QString& g : groups) {
        settings.beginGroup(g);
        storedKey = MatchingKey(settings, wantedKey);
        settings.endGroup();
        if (!storedKey.isEmpty()) {
            group = g;
            break;
        }
    }
    if (storedKey.isEmpty())
        storedKey = wantedKey;

    // The library writes back every value as it read it: a hand-written path is given whole,
    // so that it is stored (quoted) as the person wrote it and not cut at its ";".
    for (const HandWrittenValue& v : HandWrittenPathValues(before)) {
        if (v.section != group || v.key != storedKey)
            settings.setValue(v.section.isEmpty() ? v.key : v.section + QLatin1Char('/') + v.key, v.value);
    }
    settings.beginGroup(group);
    settings.setValue(storedKey, FromBytes(text));
    settings.endGroup();
    settings.sync();
    // A format error only tells of the reading (a "#" comment, a byte-order mark before "["),
    // after which every key was read and written all the same.
    if (settings.status() == QSettings::AccessError) {
        ReportWriteFailure();
        return;
    }
    failureShown_ = false;
}

QByteArray SettingsStore::ConvertToUtf8(const QByteArray& bytes) const
{
    const std::optional<QByteArray> converted = AsUtf8(bytes);
    if (!converted)
        return bytes;
    if (const auto failure = ReplaceFile(QFile::encodeName(path_).toStdString(), converted->toStdString()))
        qWarning("Settings file %s could not be rewritten as UTF-8: %s", qPrintable(path_), failure->c_str());
    return *converted;
}

std::string SettingsStore::PathFromText(const std::string& text)
{
    return QFile::encodeName(FromBytes(text)).toStdString();
}

std::string SettingsStore::TextFromPath(const std::string& path)
{
    return ToBytes(QFile::decodeName(QByteArray::fromStdString(path)));
}

std::string SettingsStore::BytesFromText(const std::string& text)
{
    return FromBytes(text).toLatin1().toStdString();
}

std::string SettingsStore::TextFromBytes(const std::string& bytes)
{
    return ToBytes(QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

void SettingsStore::ReportWriteFailure(const QString& problem)
{
    // The settings library gives no reason; the file system does.
    QString reason = QStringLiteral("it cannot be written");
    QFile file(Target());
    const QFileInfo info(Target());
    if (!problem.isEmpty())
        reason = problem;
    else if (!QFileInfo(info.absolutePath()).isDir())
        reason = QStringLiteral("its folder %1 does not exist").arg(info.absolutePath());
    else if (!file.open(QIODevice::Append))
        reason = file.errorString();
    const QString text = QStringLiteral("Settings could not be saved to %1: %2.\r\n"
                                        "The change holds until the station ends.")
                             .arg(path_, reason);
    qWarning("%s", qPrintable(text));
    if (failureShown_ || !notices_)
        return;
    failureShown_ = true;
    notices_->Notify(text, kAppTitle, MessageIcon::Exclamation);
}

std::string SettingsStore::PortNumberText(int port)
{
    return std::string(1, static_cast<char>(48 + port));
}

int SettingsStore::PortNumberFromText(const std::string& text, int fallback)
{
    if (text.empty())
        return fallback;
    return static_cast<unsigned char>(text[0]) - 48;
}
