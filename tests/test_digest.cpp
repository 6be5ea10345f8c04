// Expected lines and responses were computed with Python's hashlib when the
// tests were written, from the formulas of RFC 2617 with the device's wire
// rules (nine-digit nc, empty URI, whole qop list, md5-sess over raw bytes).
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/common.h"
#include "app/upgrade_state.h"
#include "http/digest.h"

namespace {
TEST(Digest, Rfc2617Example) {
    char response[33];
    digest_compute("dcd98b7102dd2f0e8b11d0f600bfb0c093", "0a4f113b", "Mufasa", "testrealm@host.com",
                   "Circle Of Life", "MD5", "00000001", "GET", "auth", "/dir/index.html", "", response);
    EXPECT_STREQ(response, "6629fae49393a05397450978507c4ef1");
    char ha1[33];
    digest_ha1("", "Mufasa", "testrealm@host.com", "Circle Of Life", "n", "c", ha1);
    EXPECT_STREQ(ha1, "939e7578ed9e3c518a452acee763bce9");
}

struct LineCase {
    const char* name;
    bool first_challenge;  // as the first challenge of a run: nothing stored before
    const char* challenge;
    const char* line;
};

TEST(Digest, AuthorizationLinesForTheDevicesChallenges) {
    const LineCase cases[] = {
        {"qop auth, MD5", true,
         "WWW-Authenticate: Digest realm=\"NUV\",nonce=\"abc123\",qop=\"auth\",algorithm=\"MD5\"\r\n\r\n",
         "Authorization: Digest username=\"admin\",realm=\"NUV\",nonce=\"abc123\",uri=\"\",algorithm=\"MD5\","
         "response=\"6d49249b60738a9f73dd772fc9cd8666\",qop=auth,nc=000000001,cnonce=\"1da0\"\r\n"},
        {"same nonce again: count goes on, new cnonce", false,
         "WWW-Authenticate: Digest realm=\"NUV\",nonce=\"abc123\",qop=\"auth\",algorithm=\"MD5\"",
         "Authorization: Digest username=\"admin\",realm=\"NUV\",nonce=\"abc123\",uri=\"\",algorithm=\"MD5\","
         "response=\"5a1c35fec895fb9bb3b359869aa417ba\",qop=auth,nc=000000002,cnonce=\"4adc\"\r\n"},
        {"new nonce: count starts again", false,
         "WWW-Authenticate: Digest realm=\"NUV\", nonce=\"n2\",qop=\"auth\",algorithm=\"MD5\"",
         "Authorization: Digest username=\"admin\",realm=\"NUV\",nonce=\"n2\",uri=\"\",algorithm=\"MD5\","
         "response=\"1576c7fcf6f1326f86a6b3a2e7d23f41\",qop=auth,nc=000000001,cnonce=\"64c3\"\r\n"},
        {"auth-int", false, "WWW-Authenticate: Digest qop=\"auth-int\", realm=\"R\", nonce=\"n3\", algorithm=\"MD5\"",
         "Authorization: Digest username=\"admin\",realm=\"R\",nonce=\"n3\",uri=\"\",algorithm=\"MD5\","
         "response=\"8fc8e2091e090e6799327c3c998fb3ab\",qop=auth-int,nc=000000001,cnonce=\"566d\"\r\n"},
        {"qop list sent whole", false,
         "WWW-Authenticate: Digest realm=\"R\",nonce=\"n4\",qop=\"auth,auth-int\",algorithm=\"MD5\"",
         "Authorization: Digest username=\"admin\",realm=\"R\",nonce=\"n4\",uri=\"\",algorithm=\"MD5\","
         "response=\"1e51f2052617d602004a96897c464364\",qop=auth,auth-int,nc=000000001,cnonce=\"16c4\"\r\n"},
        {"no qop, with opaque", true, "WWW-Authenticate: Digest realm=\"R\",nonce=\"n5\",opaque=\"op9\"",
         "Authorization: Digest username=\"admin\",realm=\"R\",nonce=\"n5\",uri=\"\",algorithm=\"\","
         "response=\"668859391162679c2c838a157e007480\",opaque=\"op9\"\r\n"},
        {"md5-sess in mixed case", true,
         "WWW-Authenticate: Digest realm=\"R\",nonce=\"n6\",qop=\"auth\",algorithm=\"MD5-sess\"",
         "Authorization: Digest username=\"admin\",realm=\"R\",nonce=\"n6\",uri=\"\",algorithm=\"MD5-sess\","
         "response=\"1db205536eaf2cfb15bff0bd61ca1e01\",qop=auth,nc=000000001,cnonce=\"6b55\"\r\n"},
        {"bare-token algorithm counts as absent", true,
         "WWW-Authenticate: Digest realm=\"R\",nonce=\"n7\",algorithm=MD5",
         "Authorization: Digest username=\"admin\",realm=\"R\",nonce=\"n7\",uri=\"\",algorithm=\"\","
         "response=\"1b2a82d813e8174e23ae091f0013083b\"\r\n"},
    };
    seed_random(12345);
    DigestChallenge c{};
    for (const LineCase& t : cases) {
        SCOPED_TRACE(t.name);
        if (t.first_challenge) c = DigestChallenge{};
        std::strcpy(c.username, "admin");
        std::strcpy(c.password, "secret");
        ASSERT_EQ(parse_challenge(t.challenge, &c), 0);
        c.nonce_count++;  // as the fetch does before each line
        char line[AuthorizationLineMax + 1];
        int n = build_authorization(&c, line);
        EXPECT_STREQ(line, t.line);
        EXPECT_EQ(n, static_cast<int>(std::strlen(t.line)));
    }
}

TEST(Digest, ChallengesWithoutQuotedRealmOrNonceAreRefused) {
    DigestChallenge c{};
    EXPECT_EQ(parse_challenge("WWW-Authenticate: Digest nonce=\"n\"", &c), 1);
    EXPECT_STREQ(c.nonce, "") << "nothing stored without a realm";
    EXPECT_EQ(parse_challenge("WWW-Authenticate: Digest realm=\"R\", nonce=abc", &c), 1);
    EXPECT_STREQ(c.realm, "R") << "the realm stays stored when only the nonce is missing";
    EXPECT_STREQ(c.nonce, "");
    EXPECT_EQ(parse_challenge("WWW-Authenticate: Digest realm=R nonce=N", &c), 1);
}

TEST(Digest, LaterChallengeKeepsAlgorithmAndQopButEmptiesOpaque) {
    DigestChallenge c{};
    ASSERT_EQ(parse_challenge("x realm=\"R\" nonce=\"a\" qop=\"auth\" algorithm=\"MD5\" opaque=\"o\"", &c), 0);
    ASSERT_EQ(parse_challenge("x realm=\"R2\" nonce=\"b\"", &c), 0);
    EXPECT_STREQ(c.realm, "R2");
    EXPECT_STREQ(c.qop, "auth");
    EXPECT_STREQ(c.algorithm, "MD5");
    EXPECT_STREQ(c.opaque, "");
}

TEST(Digest, AttributesAreFoundAnywhereAndUnterminatedValuesRunToTheEnd) {
    DigestChallenge c{};
    // The search ignores the scheme and header boundaries: the nonce here is
    // in the body.
    ASSERT_EQ(parse_challenge("WWW-Authenticate: Basic realm=\"R\"\r\n\r\n<p>nonce=\"xyz", &c), 0);
    EXPECT_STREQ(c.realm, "R");
    EXPECT_STREQ(c.nonce, "xyz");
}

TEST(Digest, OverlongValuesAreCutToTheirFields) {
    std::string big(5000, 'v');
    std::string text = "realm=\"" + big + "\" nonce=\"" + big + "\" qop=\"" + big + "\" algorithm=\"" + big +
                       "\" opaque=\"" + big + "\"";
    DigestChallenge c{};
    std::memset(c.username, 'u', 127);
    std::memset(c.password, 'p', 127);
    ASSERT_EQ(parse_challenge(text.c_str(), &c), 0);
    EXPECT_EQ(std::strlen(c.realm), 127u);
    EXPECT_EQ(std::strlen(c.nonce), 127u);
    EXPECT_EQ(std::strlen(c.opaque), 127u);
    EXPECT_EQ(std::strlen(c.qop), 15u);
    EXPECT_EQ(std::strlen(c.algorithm), 15u);
    c.nonce_count = 0xFFFFFFFF;
    char line[AuthorizationLineMax + 1];
    int n = build_authorization(&c, line);
    EXPECT_LE(n, AuthorizationLineMax);
    EXPECT_EQ(static_cast<size_t>(n), std::strlen(line));
    EXPECT_NE(std::strstr(line, ",nc=0ffffffff,"), nullptr);
}
}  // namespace
