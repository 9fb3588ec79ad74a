// The signed request URL of one translation.
#pragma once

#include "text/text.h"

extern const Text app_id;
extern const Text secret_key;
extern const Text api_host;

// Every byte as "%" and two upper-case hex digits.
Text percent_encode(const Text& text);

// Five decimal digits from 32768 to 65535, drawn after a fresh seeding.
Text fresh_salt();

// Signed with a fresh salt.
Text build_signed_url(const Text& q);

// The same URL with the salt given, so the pieces can be checked.
Text build_signed_url(const Text& q, const Text& salt);
