#include "plant/PlantUsers.h"

#include <QFile>

#include <crypt.h>
#include <memory>

namespace {

bool SameBytes(const std::string& a, const char* b)
{
    const std::string other(b);
    if (a.size() != other.size())
        return false;
    unsigned char difference = 0;
    for (size_t i = 0; i < a.size(); ++i)
        difference |= static_cast<unsigned char>(a[i] ^ other[i]);
    return difference == 0;
}

} // namespace

bool PlantUsers::Read(const std::string& path, std::string& message)
{
    QFile file(QString::fromStdString(path));
    if (file.size() > 1024 * 1024) {
        message = "tallion-plant: the users file " + path + " is larger than 1 MiB: is it the right file?\n";
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        message = "tallion-plant: cannot read the users file " + path + ": " + file.errorString().toStdString() + "\n";
        return false;
    }
    return Parse(file.readAll().toStdString(), path, message);
}

bool PlantUsers::Parse(const std::string& text, const std::string& source, std::string& message)
{
    hashes_.clear();
    size_t number = 0;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        const size_t colon = line.find(':');
        const std::string where = "tallion-plant: " + source + " line " + std::to_string(number) + ": ";
        if (colon == 0 || colon == std::string::npos) {
            message = where + "not name:hash\n";
            return false;
        }
        const std::string hash = line.substr(colon + 1);
        // A hash crypt_r cannot use, or an old method (DES, MD5) that is quick to guess, is refused.
        if (crypt_checksalt(hash.c_str()) != CRYPT_SALT_OK) {
            message = where + "the hash is not one of a strong method: make it with mkpasswd or openssl passwd -6\n";
            return false;
        }
        hashes_[line.substr(0, colon)] = hash;
    }
    if (hashes_.empty()) {
        message = "tallion-plant: the users file " + source + " names no user\n";
        return false;
    }
    return true;
}

bool PlantUsers::Check(const std::string& name, const std::string& password) const
{
    if (hashes_.empty())
        return false;
    const auto found = hashes_.find(name);
    const std::string& hash = found != hashes_.end() ? found->second : hashes_.begin()->second;
    auto data = std::make_unique<crypt_data>(); // 32 KiB: not on a worker's stack
    const char* computed = crypt_r(password.c_str(), hash.c_str(), data.get());
    // crypt_r marks its failure with a string starting with '*', which no hash equals.
    return computed != nullptr && SameBytes(hash, computed) && found != hashes_.end();
}
