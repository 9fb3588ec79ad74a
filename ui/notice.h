// The self-closing notice: caption "友情提醒", one OK button, gone after 5000 ms at the latest.
#pragma once

#include "text/text.h"

// Returns when the notice has closed, by the user or by its timer.
void timed_message_box(const Text& text);
