#pragma once
// The users file of `--users`: one `name:hash` a line, the hash as `mkpasswd` (Debian's whois) or
// `openssl passwd -6` make it; empty lines and lines starting with # are skipped. Passwords are
// checked with libxcrypt's crypt_r.

#include <map>
#include <string>

class PlantUsers {
public:
    // Reads `path`; false with `message` naming the file and what is wrong with it.
    bool Read(const std::string& path, std::string& message);
    // Parses the file's text; `source` names it in `message`.
    bool Parse(const std::string& text, const std::string& source, std::string& message);

    // Whether `password` is the one of `name`. An unknown name costs as much time as a known one.
    bool Check(const std::string& name, const std::string& password) const;
    bool Empty() const { return hashes_.empty(); }

private:
    std::map<std::string, std::string> hashes_;
};
