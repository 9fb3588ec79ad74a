// Turning the reply body into plain code page 936 text. Nothing here runs what the service sends.
#pragma once

#include "text/text.h"

Text percent_decode(const Text& text);
Text unescape_unicode(const Text& text);
Text stream_unicode_text(const ByteBuffer& bytes);
Text text_between(const Text& text, const Text& start_marker, const Text& end_marker);
