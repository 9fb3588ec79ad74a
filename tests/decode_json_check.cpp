// Reads lines "<JSON string body, UTF-8>\t<UTF-16 units of its JSON.parse value, 4 hex digits
// each>" and checks that unescape_unicode gives what our converter makes of those units.
#include <cstdio>
#include <iostream>
#include <string>

#include "client/decode.h"
#include "text/charset.h"

namespace {

std::string hex(std::string_view bytes) {
    std::string out;
    char digits[4];
    for (unsigned char b : bytes) {
        std::snprintf(digits, sizeof digits, "%02X ", b);
        out += digits;
    }
    return out;
}

}  // namespace

int main() {
    int checked = 0, mismatches = 0;
    std::string line;
    while (std::getline(std::cin, line)) {
        std::size_t tab = line.find('\t');
        if (tab == std::string::npos) continue;
        std::u16string units;
        for (std::size_t i = tab + 1; i + 4 <= line.size(); i += 4)
            units += char16_t(std::stoul(line.substr(i, 4), nullptr, 16));
        Text got = unescape_unicode(utf8_to_ansi(ByteBuffer(line.substr(0, tab))));
        Text want = utf16_to_ansi(units);
        ++checked;
        if (got != want && ++mismatches <= 20)
            std::cout << "mismatch: " << line.substr(0, tab) << "\n  got  " << hex(got.view()) << "\n  want "
                      << hex(want.view()) << "\n";
    }
    std::cout << checked << " strings checked, " << mismatches << " mismatches\n";
    return mismatches == 0 && checked > 0 ? 0 : 1;
}
