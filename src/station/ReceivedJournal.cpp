#include "station/ReceivedJournal.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFileInfo>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const std::string kHeader = "TALLION RECEIVED MESSAGES 1\n";

std::uint32_t Fnv1a(const std::string& bytes)
{
    std::uint32_t hash = 2166136261u;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    return hash;
}

std::string Hex8(std::uint32_t value)
{
    char text[9];
    std::snprintf(text, sizeof text, "%08x", value);
    return text;
}

std::string Entry(char tag, const std::string& payload)
{
    return std::string(1, tag) + ' ' + Hex8(static_cast<std::uint32_t>(payload.size())) + ' ' + Hex8(Fnv1a(payload))
           + '\n' + payload + '\n';
}

int WriteAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return -errno;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return 0;
}

bool ReadWhole(int fd, std::string& bytes)
{
    bytes.clear();
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        bytes.append(buffer, static_cast<size_t>(n));
    }
}

template <typename Number>
bool ParseNumber(std::string_view text, Number& value, int base = 10)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

std::string JournalFolderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : slash == 0 ? std::string("/") : path.substr(0, slash);
}

void SyncFolder(const std::string& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Reads the entries from `bytes`; returns how many bytes are sound.
size_t ReadEntries(const std::string& bytes, ReceivedJournal::Contents& contents)
{
    if (bytes.compare(0, kHeader.size(), kHeader) != 0)
        return 0;
    size_t at = kHeader.size();
    while (at < bytes.size()) {
        // "T LLLLLLLL HHHHHHHH\n"
        if (bytes.size() - at < 20 || bytes[at + 1] != ' ' || bytes[at + 10] != ' ' || bytes[at + 19] != '\n')
            return at;
        const char tag = bytes[at];
        std::uint32_t length = 0;
        std::uint32_t hash = 0;
        if (!ParseNumber(std::string_view(bytes).substr(at + 2, 8), length, 16)
            || !ParseNumber(std::string_view(bytes).substr(at + 11, 8), hash, 16))
            return at;
        const size_t start = at + 20;
        if (bytes.size() - start < static_cast<size_t>(length) + 1 || bytes[start + length] != '\n')
            return at;
        const std::string payload = bytes.substr(start, length);
        if (Fnv1a(payload) != hash)
            return at;
        if (tag == 'M' || tag == 'W') {
            const size_t tab1 = payload.find('\t');
            const size_t tab2 = tab1 == std::string::npos ? tab1 : payload.find('\t', tab1 + 1);
            ReceivedMessage message;
            if (tab2 == std::string::npos || !ParseNumber(std::string_view(payload).substr(0, tab1), message.seq)
                || !ParseNumber(std::string_view(payload).substr(tab1 + 1, tab2 - tab1 - 1), message.receivedMs))
                return at;
            message.text = payload.substr(tab2 + 1);
            message.kind = static_cast<ReceivedMessage::Kind>(tag);
            contents.lastSeq = std::max(contents.lastSeq, message.seq);
            contents.after.push_back(std::move(message));
            contents.endsInMessage = tag == 'M';
        } else if (tag == 'K') {
            const size_t line = payload.find('\n');
            std::uint64_t seq = 0;
            if (line == std::string::npos || !ParseNumber(std::string_view(payload).substr(0, line), seq))
                return at;
            std::optional<HeldState> state = ParseHeldState(payload.substr(line + 1));
            if (!state)
                return at;
            contents.state = std::move(state);
            contents.stateSeq = seq;
            contents.lastSeq = std::max(contents.lastSeq, seq);
            std::erase_if(contents.after, [seq](const ReceivedMessage& m) { return m.seq <= seq; });
            contents.endsInMessage = false;
        } else {
            return at;
        }
        at = start + length + 1;
    }
    return at;
}

} // namespace

ReceivedJournal::~ReceivedJournal()
{
    Close(false);
}

ReceivedJournal::Opening ReceivedJournal::Open(const std::string& path, Contents& contents, std::string* error)
{
    auto fail = [error](const std::string& why) {
        if (error)
            *error = why;
        return Opening::Failed;
    };
    Close(false);
    contents = Contents{};
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return fail(std::strerror(errno));
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int why = errno;
        ::close(fd);
        if (why == EWOULDBLOCK)
            return Opening::HeldByOther;
        return fail(std::strerror(why));
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return fail("not a regular file");
    }
    std::string bytes;
    if (!ReadWhole(fd, bytes)) {
        const int why = errno;
        ::close(fd);
        return fail(std::strerror(why));
    }
    size_t sound = ReadEntries(bytes, contents);
    if (bytes.empty()) {
        if (const int written = WriteAll(fd, kHeader.data(), kHeader.size()); written != 0 || ::fdatasync(fd) != 0) {
            ::close(fd);
            return fail(std::strerror(written ? -written : errno));
        }
        SyncFolder(JournalFolderOf(path));
        sound = kHeader.size();
    } else if (sound < bytes.size()) {
        // Kept as it was, in case the cut-off part matters to somebody; the journal goes on from
        // its last sound entry.
        const std::string copy =
            path + ".damaged-" + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss")).toStdString();
        const int out = ::open(copy.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (out >= 0) {
            WriteAll(out, bytes.data(), bytes.size());
            ::fsync(out);
            ::close(out);
            contents.damagedCopy = copy;
        }
        if (sound == 0) {
            // Not even the header: start afresh.
            if (::ftruncate(fd, 0) != 0 || ::lseek(fd, 0, SEEK_SET) < 0
                || WriteAll(fd, kHeader.data(), kHeader.size()) != 0) {
                ::close(fd);
                return fail(std::strerror(errno));
            }
            sound = kHeader.size();
        } else if (::ftruncate(fd, static_cast<off_t>(sound)) != 0) {
            const int why = errno;
            ::close(fd);
            return fail(std::strerror(why));
        }
        ::fdatasync(fd);
    }
    ::lseek(fd, 0, SEEK_END);
    fd_ = fd;
    path_ = path;
    size_ = static_cast<long long>(sound);
    return Opening::Opened;
}

bool ReceivedJournal::Append(char tag, const std::string& payload, bool sync, std::string* error)
{
    if (fd_ < 0)
        return false;
    const std::string entry = Entry(tag, payload);
    int result = WriteAll(fd_, entry.data(), entry.size());
    if (result == 0 && sync && ::fdatasync(fd_) != 0)
        result = -errno;
    if (result != 0) {
        // A part-written entry would hide every later one: cut it off again.
        if (::ftruncate(fd_, static_cast<off_t>(size_)) == 0)
            ::lseek(fd_, 0, SEEK_END);
        if (error)
            *error = std::strerror(-result);
        return false;
    }
    size_ += static_cast<long long>(entry.size());
    return true;
}

bool ReceivedJournal::AppendMessage(const ReceivedMessage& message, std::string* error)
{
    return Append(static_cast<char>(message.kind),
                  std::to_string(message.seq) + '\t' + std::to_string(message.receivedMs) + '\t' + message.text, true,
                  error);
}

bool ReceivedJournal::AppendState(std::uint64_t seq, const std::string& stateText)
{
    return Append('K', std::to_string(seq) + '\n' + stateText, false, nullptr);
}

bool ReceivedJournal::Compact(std::uint64_t seq, const std::string& stateText)
{
    if (fd_ < 0)
        return false;
    // Written beside the journal and renamed over it: at every instant one whole journal exists.
    const std::string temporary = path_ + ".new";
    const int fd = ::open(temporary.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return false;
    const std::string bytes = kHeader + Entry('K', std::to_string(seq) + '\n' + stateText);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || WriteAll(fd, bytes.data(), bytes.size()) != 0 || ::fdatasync(fd) != 0
        || ::rename(temporary.c_str(), path_.c_str()) != 0) {
        ::close(fd);
        ::unlink(temporary.c_str());
        return false;
    }
    SyncFolder(JournalFolderOf(path_));
    ::close(fd_);
    fd_ = fd;
    size_ = static_cast<long long>(bytes.size());
    ::lseek(fd_, 0, SEEK_END);
    return true;
}

void ReceivedJournal::Close(bool remove)
{
    if (fd_ < 0)
        return;
    if (remove) {
        ::unlink(path_.c_str());
        SyncFolder(JournalFolderOf(path_));
    }
    ::close(fd_);
    fd_ = -1;
}

std::string ReceivedJournalPath(const std::string& folder, const std::string& settingsFile)
{
    const QFileInfo info(QString::fromStdString(settingsFile));
    const QByteArray hash =
        QCryptographicHash::hash(info.absoluteFilePath().toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
    return folder + "/received-" + info.completeBaseName().toStdString() + '-' + hash.toStdString() + ".journal";
}
