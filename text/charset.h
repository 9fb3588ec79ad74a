// Code page 936 <-> UTF-8 (and UTF-16 -> code page 936), the only place encodings change.
#pragma once

#include <string>
#include <string_view>

#include "text/text.h"

// UTF-8 bytes of the text, no terminator.
ByteBuffer ansi_to_utf8(const Text& text);

// The text the UTF-8 bytes encode, ending before the first zero byte; undecodable
// input and characters code page 936 lacks become "?".
Text utf8_to_ansi(const ByteBuffer& bytes);

// The text as UTF-16 units.
std::u16string ansi_to_utf16(const Text& text);

// UTF-16 units to code page 936: each unit without a mapping (a lone surrogate, or each
// half of a pair the code page lacks) becomes one "?"; U+0000 ends the text.
Text utf16_to_ansi(std::u16string_view units);
