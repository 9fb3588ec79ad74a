// MD5 digest as 32 lower-case hex digits; the empty Text when the platform cannot compute it.
#pragma once

#include "text/text.h"

Text md5_hex(const ByteBuffer& data);

// The 16 digest bytes as 32 lower-case hex digits, high nibble first.
Text digest_hex(const ByteBuffer& digest);
