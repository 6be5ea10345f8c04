#include "http/digest.h"

#include <cstdio>
#include <cstring>
#include <strings.h>

#include "app/common.h"
#include "http/md5.h"

namespace {
// Copies the quoted value that follows the first `name` (which ends in
// ="), cut to the field. Returns false when the attribute is absent.
bool find_quoted(const char* text, const char* name, char* field, size_t field_size) {
    const char* at = std::strstr(text, name);
    if (!at) return false;
    const char* value = at + std::strlen(name);
    size_t length = std::strcspn(value, "\"");
    if (length > field_size - 1) length = field_size - 1;
    std::memcpy(field, value, length);
    field[length] = 0;
    return true;
}

void feed_text(Md5Context* md5, const char* text) { md5_feed(md5, text, static_cast<uint32_t>(std::strlen(text))); }
void feed_colon(Md5Context* md5) { md5_feed(md5, ":", 1); }
}  // namespace

int parse_challenge(const char* text, DigestChallenge* c) {
    if (!find_quoted(text, "realm=\"", c->realm, sizeof c->realm)) return 1;
    if (!find_quoted(text, "nonce=\"", c->nonce, sizeof c->nonce)) return 1;
    if (std::strcmp(c->nonce, c->counted_nonce) != 0) {
        std::memcpy(c->counted_nonce, c->nonce, sizeof c->counted_nonce);
        c->nonce_count = 0;
    }
    std::snprintf(c->cnonce, sizeof c->cnonce, "%x", static_cast<unsigned>(next_random()));
    // A later challenge without algorithm or qop keeps the stored value: the
    // device names them in every challenge it sends, and keeping them never
    // turns a qop exchange into the older form behind the device's back.
    find_quoted(text, "algorithm=\"", c->algorithm, sizeof c->algorithm);
    find_quoted(text, "qop=\"", c->qop, sizeof c->qop);
    if (!find_quoted(text, "opaque=\"", c->opaque, sizeof c->opaque)) c->opaque[0] = 0;
    return 0;
}

// HA1 = MD5(username ":" realm ":" password)
// md5-sess: HA1 = MD5(HA1 raw 16 bytes ":" nonce ":" cnonce)
void digest_ha1(const char* algorithm, const char* username, const char* realm, const char* password,
                const char* nonce, const char* cnonce, char ha1[33]) {
    Md5Context md5;
    uint8_t digest[16];
    md5_start(&md5);
    feed_text(&md5, username);
    feed_colon(&md5);
    feed_text(&md5, realm);
    feed_colon(&md5);
    feed_text(&md5, password);
    md5_finish(digest, &md5);
    if (strcasecmp(algorithm, "md5-sess") == 0) {
        md5_start(&md5);
        md5_feed(&md5, digest, 16);
        feed_colon(&md5);
        feed_text(&md5, nonce);
        feed_colon(&md5);
        feed_text(&md5, cnonce);
        md5_finish(digest, &md5);
    }
    md5_hex(digest, ha1);
}

// HA2 = MD5(method ":" uri), or for auth-int MD5(method ":" uri ":" hex(MD5(body)))
// qop given: response = MD5(HA1 ":" nonce ":" nc ":" cnonce ":" qop ":" HA2)
// no qop:    response = MD5(HA1 ":" nonce ":" HA2)
void digest_response(const char* ha1, const char* nonce, const char* nonce_count, const char* cnonce,
                     const char* qop, const char* method, const char* digest_uri, const char* entity_body,
                     char response[33]) {
    Md5Context md5;
    uint8_t digest[16];
    char ha2[33];
    md5_start(&md5);
    feed_text(&md5, method);
    feed_colon(&md5);
    feed_text(&md5, digest_uri);
    if (strcasecmp(qop, "auth-int") == 0) {
        Md5Context body;
        uint8_t body_digest[16];
        char body_hex[33];
        md5_start(&body);
        feed_text(&body, entity_body);
        md5_finish(body_digest, &body);
        md5_hex(body_digest, body_hex);
        feed_colon(&md5);
        feed_text(&md5, body_hex);
    }
    md5_finish(digest, &md5);
    md5_hex(digest, ha2);

    md5_start(&md5);
    feed_text(&md5, ha1);
    feed_colon(&md5);
    feed_text(&md5, nonce);
    feed_colon(&md5);
    if (qop[0]) {
        feed_text(&md5, nonce_count);
        feed_colon(&md5);
        feed_text(&md5, cnonce);
        feed_colon(&md5);
        feed_text(&md5, qop);
        feed_colon(&md5);
    }
    feed_text(&md5, ha2);
    md5_finish(digest, &md5);
    md5_hex(digest, response);
}

void digest_compute(const char* nonce, const char* cnonce, const char* username, const char* realm,
                    const char* password, const char* algorithm, const char* nonce_count, const char* method,
                    const char* qop, const char* digest_uri, const char* entity_body, char response[33]) {
    char ha1[33];
    digest_ha1(algorithm, username, realm, password, nonce, cnonce, ha1);
    digest_response(ha1, nonce, nonce_count, cnonce, qop, method, digest_uri, entity_body, response);
}

int build_authorization(const DigestChallenge* c, char* out) {
    char nonce_count[16] = "";
    if (c->qop[0]) std::snprintf(nonce_count, sizeof nonce_count, "%09x", c->nonce_count);
    char response[33];
    digest_compute(c->nonce, c->cnonce, c->username, c->realm, c->password, c->algorithm, nonce_count, "GET",
                   c->qop, "", "", response);
    // Every field is bounded (127 characters at most), so the line always
    // fits; snprintf keeps it inside the buffer regardless.
    const size_t room = AuthorizationLineMax + 1;
    int n = std::snprintf(out, room,
                          "Authorization: Digest username=\"%s\",realm=\"%s\",nonce=\"%s\",uri=\"%s\","
                          "algorithm=\"%s\",response=\"%s\"",
                          c->username, c->realm, c->nonce, "", c->algorithm, response);
    if (c->opaque[0]) n += std::snprintf(out + n, room - n, ",opaque=\"%s\"", c->opaque);
    if (c->qop[0])
        n += std::snprintf(out + n, room - n, ",qop=%s,nc=%09x,cnonce=\"%s\"", c->qop, c->nonce_count, c->cnonce);
    n += std::snprintf(out + n, room - n, "\r\n");
    return n;
}
