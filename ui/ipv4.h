// The address typed for the device, as text, into an address.
#pragma once
#include <cstdint>

enum Ipv4ParseResult { Ok = 0, FieldTooLarge = 1, TooManyFields = 2, TooFewFields = 3, BadLength = 4, BadCharacter = 5 };

// Sets *address to 0 first and writes it only on Ok. '.' and '*' separate
// fields alike; runs of separators and separators at either end are ignored.
Ipv4ParseResult parse_ipv4_address(const char* text, uint32_t* address);
