// Fuzz target for the reply decoder: every operation on arbitrary bytes, plus checks of
// what must hold for any input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "client/decode.h"

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    Text text(input);  // up to the first zero byte

    percent_decode(text);
    stream_unicode_text(ByteBuffer(data, size));

    Text plain = unescape_unicode(text);
    // Without a backslash or a line break there is nothing to decode: printable ASCII comes back as it was.
    if (input.find_first_not_of(
            " !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[]^_`abcdefghijklmnopqrstuvwxyz{|}~") ==
        std::string_view::npos)
        check(plain == text);

    // The zero bytes split the input into the text and the two markers.
    std::size_t first = input.find('\0');
    std::size_t second = first == std::string_view::npos ? first : input.find('\0', first + 1);
    if (second != std::string_view::npos) {
        Text between = text_between(text, Text(input.substr(first + 1)), Text(input.substr(second + 1)));
        check(between.size() <= text.size() && text.view().find(between.view()) != std::string_view::npos);
    }
    return 0;
}
