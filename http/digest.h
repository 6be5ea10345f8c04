// Client side of HTTP Digest authentication, with the device's wire quirks:
// nine-digit nonce count, empty digest URI, quoted algorithm always sent,
// the whole qop list, md5-sess over the raw first digest.
#pragma once
#include <cstdint>

#include "http/digest_challenge.h"

// `text` begins at the "WWW-Authenticate:" header name and runs to the end
// of the response. Returns 0 when the challenge was accepted and stored, 1
// when it had no quoted realm or nonce.
int parse_challenge(const char* text, DigestChallenge* challenge);

void digest_ha1(const char* algorithm, const char* username, const char* realm, const char* password,
                const char* nonce, const char* cnonce, char ha1[33]);
void digest_response(const char* ha1, const char* nonce, const char* nonce_count, const char* cnonce,
                     const char* qop, const char* method, const char* digest_uri, const char* entity_body,
                     char response[33]);
void digest_compute(const char* nonce, const char* cnonce, const char* username, const char* realm,
                    const char* password, const char* algorithm, const char* nonce_count, const char* method,
                    const char* qop, const char* digest_uri, const char* entity_body, char response[33]);

// The most characters build_authorization can write, CR LF included.
constexpr int AuthorizationLineMax = 1024;

// Writes the Authorization line with its CR LF into `out` (room for
// AuthorizationLineMax characters and a NUL); returns its length.
int build_authorization(const DigestChallenge* challenge, char* out);
