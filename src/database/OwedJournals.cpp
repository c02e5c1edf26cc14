#include "database/OwedJournals.h"

#include "database/DurableFile.h"
#include "database/JournalRecords.h"

#include <QCryptographicHash>
#include <QFileInfo>

#include <algorithm>

OwedJournals::OwedJournals(std::string path)
    : path_(std::move(path))
{}

std::string OwedJournals::PathFor(const std::string& folder, const std::string& settingsFile)
{
    const QFileInfo info(QString::fromStdString(settingsFile));
    const QByteArray hash =
        QCryptographicHash::hash(info.absoluteFilePath().toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
    return folder + "/owed-" + info.completeBaseName().toStdString() + '-' + hash.toStdString() + ".dbjournals";
}

std::vector<OwedJournal> OwedJournals::Read() const
{
    const std::lock_guard<std::mutex> lock(mutex_);
    std::vector<OwedJournal> journals;
    std::string text;
    if (path_.empty() || !ReadWholeFile(path_, text))
        return journals;
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
        lines.push_back(Unescaped(text.substr(start, end - start)));
        start = end + 1;
    }
    for (size_t i = 0; i + 1 < lines.size(); i += 2)
        journals.push_back({lines[i], lines[i + 1]});
    return journals;
}

bool OwedJournals::Write(const std::vector<OwedJournal>& journals)
{
    std::string text;
    for (const OwedJournal& j : journals)
        text += Escaped(j.station) + "\n" + Escaped(j.logPath) + "\n";
    return ReplaceFileDurably(path_, text) == 0;
}

bool OwedJournals::Add(const OwedJournal& journal)
{
    std::vector<OwedJournal> journals = Read();
    const std::lock_guard<std::mutex> lock(mutex_);
    if (path_.empty() || std::find(journals.begin(), journals.end(), journal) != journals.end())
        return true;
    journals.push_back(journal);
    return Write(journals);
}

bool OwedJournals::Remove(const OwedJournal& journal)
{
    std::vector<OwedJournal> journals = Read();
    const std::lock_guard<std::mutex> lock(mutex_);
    const auto gone = std::remove(journals.begin(), journals.end(), journal);
    if (path_.empty() || gone == journals.end())
        return true;
    journals.erase(gone, journals.end());
    return Write(journals);
}
