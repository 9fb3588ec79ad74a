// The one entry point of the client: a text in, its translation or the reason it failed out.
#pragma once

#include "client/http.h"
#include "text/text.h"

struct Translation {
    bool ok = false;
    Text text;    // the translation, when ok
    Text reason;  // why it failed, for the user, when not ok
};

Translation translate_text(const Text& source);

// The translation a reply carries: every dst in order, joined by CR LF; or the reason there is none.
Translation translation_from_reply(const HttpReply& reply);
