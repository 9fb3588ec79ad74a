// MD5 digest as 32 lower-case hex digits; the empty Text when the platform cannot compute it.
#pragma once

#include "text/text.h"

Text md5_hex(const ByteBuffer& data);
