#pragma once
// HTTP Basic log-in against the users file. Each failed log-in from an address makes that address
// wait before its next try (1 s, 2 s, 4 s, ... up to 60 s); a good one clears its count. A
// password that passed is remembered for a while (by a digest of the header), so that a page's
// requests do not each pay for the slow hash.

#include "plant/PlantUsers.h"

#include <map>
#include <mutex>
#include <string>

class PlantLogin {
public:
    explicit PlantLogin(PlantUsers users);

    enum class Verdict { In, Refused, Wait };
    // `authorization`: the request's Authorization header (empty when none). For Wait, `waitMs`
    // tells how long the address must still wait.
    Verdict Check(const std::string& address, const std::string& authorization, long long nowMs, long long& waitMs);

private:
    struct Failures {
        int count = 0;
        long long untilMs = 0;
    };
    PlantUsers users_;
    std::mutex mutex_;
    std::map<std::string, Failures> failures_;
    std::map<std::string, long long> passed_; // digest of the header -> until when it holds
};
