// The one entry point of the client: a text in, its translation or the reason it failed out.
#pragma once

#include "text/text.h"

struct Translation {
    bool ok = false;
    Text text;    // the translation, when ok
    Text reason;  // why it failed, for the user, when not ok
};

Translation translate_text(const Text& source);
