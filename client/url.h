// Parts of an absolute "http://" URL, and the header lines sent with it.
#pragma once

#include "text/text.h"

Text url_host(const Text& url);
int url_port(const Text& url);
Text url_path(const Text& url);

// Accept, Referer (the URL itself) and Accept-Language lines, each ending in CR LF.
Text extra_header_block(const Text& url);
