// The log-in of tallion-plant: the users file's rules, and a sequence of tries from two addresses
// against one clock, each failure making its address wait longer.

#include "plant/PlantLogin.h"

#include <gtest/gtest.h>

namespace {

// `openssl passwd -6 -salt tallion.salt right-pw`
const std::string kHash =
    "$6$tallion.salt$dRVidxXI10yY9douAM/OXsTGlsAx49au3HHKJ2eESL/sz5rkobBIGgxYnVsnkd7pa2nFQQfgG5FozBCHy9Yru/";

} // namespace

TEST(PlantLogin, UsersFileRules)
{
    const struct {
        std::string text;
        bool read;
        std::string message;
    } cases[] = {
        {"# office\n\nanna:" + kHash + "\r\n", true, ""},
        {"anna " + kHash + "\n", false, "tallion-plant: users line 1: not name:hash\n"},
        {"\n:" + kHash + "\n", false, "tallion-plant: users line 2: not name:hash\n"},
        {"anna:$1$ab$WL5NEHyH0Vwm.LWwlxYe.0\n", false,
         "tallion-plant: users line 1: the hash is not one of a strong method: make it with mkpasswd or openssl "
         "passwd -6\n"},
        {"anna:right-pw\n", false,
         "tallion-plant: users line 1: the hash is not one of a strong method: make it with mkpasswd or openssl "
         "passwd -6\n"},
        {"# nobody\n", false, "tallion-plant: the users file users names no user\n"},
    };
    for (const auto& c : cases) {
        PlantUsers users;
        std::string message;
        EXPECT_EQ(users.Parse(c.text, "users", message), c.read) << c.text;
        EXPECT_EQ(message, c.message) << c.text;
    }
}

TEST(PlantLogin, FailuresFromAnAddressMakeItWait)
{
    PlantUsers users;
    std::string message;
    ASSERT_TRUE(users.Parse("anna:" + kHash + "\n", "users", message)) << message;
    PlantLogin login(std::move(users));
    using V = PlantLogin::Verdict;
    const std::string right = "Basic YW5uYTpyaWdodC1wdw=="; // anna:right-pw
    const std::string wrong = "Basic YW5uYTp3cm9uZw==";     // anna:wrong
    const std::string bruno = "Basic YnJ1bm86cmlnaHQtcHc="; // bruno:right-pw, no such user
    const struct {
        const char* address;
        std::string authorization;
        long long nowMs;
        V verdict;
        long long waitMs;
    } tries[] = {
        {"10.0.0.7", "", 0, V::Refused, 0}, // the browser's first request: not a failure
        {"10.0.0.7", "", 10, V::Refused, 0},
        {"10.0.0.7", wrong, 20, V::Refused, 0},
        {"10.0.0.7", right, 520, V::Wait, 500},
        {"10.0.0.8", right, 530, V::In, 0}, // another computer is not held up
        {"10.0.0.7", bruno, 1020, V::Refused, 0},
        {"10.0.0.7", wrong, 2000, V::Wait, 1020},
        {"10.0.0.7", "Basic !!!", 3020, V::Refused, 0},
        {"10.0.0.7", right, 6000, V::In, 0}, // a password that passed is no guess
        {"10.0.0.7", wrong, 6500, V::Wait, 520},
        {"10.0.0.9", "basic YW5uYTpyaWdodC1wdw==", 7030, V::In, 0},
    };
    for (const auto& t : tries) {
        long long waitMs = -1;
        EXPECT_EQ(login.Check(t.address, t.authorization, t.nowMs, waitMs), t.verdict)
            << t.address << " " << t.authorization << " at " << t.nowMs;
        EXPECT_EQ(waitMs, t.waitMs) << t.address << " at " << t.nowMs;
    }
}
