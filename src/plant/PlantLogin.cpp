#include "plant/PlantLogin.h"

#include <QByteArray>
#include <QCryptographicHash>

#include <algorithm>
#include <string_view>

namespace {

constexpr long long kRememberedMs = 10 * 60 * 1000;
constexpr long long kLongestWaitMs = 60 * 1000;
// Enough for a plant's offices; a flood of addresses or headers forgets the old ones.
constexpr size_t kMostRemembered = 4096;

} // namespace

PlantLogin::PlantLogin(PlantUsers users)
    : users_(std::move(users))
{}

PlantLogin::Verdict PlantLogin::Check(const std::string& address, const std::string& authorization, long long nowMs,
                                      long long& waitMs)
{
    waitMs = 0;
    const std::string digest =
        QCryptographicHash::hash(QByteArray::fromStdString(authorization), QCryptographicHash::Sha256).toStdString();
    {
        std::lock_guard lock(mutex_);
        if (const auto known = passed_.find(digest); known != passed_.end() && known->second > nowMs)
            return Verdict::In;
        if (const auto failed = failures_.find(address); failed != failures_.end() && failed->second.untilMs > nowMs) {
            waitMs = failed->second.untilMs - nowMs;
            return Verdict::Wait;
        }
    }
    // No header is no try: the browser asks its user first.
    if (authorization.empty())
        return Verdict::Refused;
    bool in = false;
    if (QByteArray::fromStdString(authorization.substr(0, 6)).toLower() == "basic ") {
        const auto decoded = QByteArray::fromBase64Encoding(QByteArray::fromStdString(authorization.substr(6)),
                                                            QByteArray::AbortOnBase64DecodingErrors);
        const qsizetype colon = decoded.decoded.indexOf(':');
        if (decoded && colon > 0)
            in = users_.Check(decoded.decoded.left(colon).toStdString(), decoded.decoded.mid(colon + 1).toStdString());
    }
    std::lock_guard lock(mutex_);
    if (in) {
        failures_.erase(address);
        if (passed_.size() >= kMostRemembered)
            passed_.clear();
        passed_[digest] = nowMs + kRememberedMs;
        return Verdict::In;
    }
    if (failures_.size() >= kMostRemembered)
        std::erase_if(failures_, [nowMs](const auto& entry) { return entry.second.untilMs <= nowMs; });
    if (failures_.size() >= kMostRemembered)
        failures_.clear();
    Failures& failed = failures_[address];
    failed.count = std::min(failed.count + 1, 7);
    failed.untilMs = nowMs + std::min(1000LL << (failed.count - 1), kLongestWaitMs);
    return Verdict::Refused;
}
