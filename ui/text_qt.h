// Text <-> QString for the Qt controls: CR LF in a Text is one line break, which Qt keeps as LF.
#pragma once

#include <QString>

#include "text/text.h"

QString qstring_from(const Text& text);
Text text_from(QString s);
