// A thousand translations in one process, for the sanitizers: LeakSanitizer fails the run at
// exit on any leak. Resident memory is printed first and last so growth shows in the log.
#include <gtest/gtest.h>

#include "client/signing.h"
#include "client/translate.h"
#include "tests/resident_memory.h"
#include "tests/standin.h"

namespace {

TEST(TranslateSoakTest, AThousandTranslationsInARow) {
    ASSERT_NE(stand_in().port, 0) << "run through ctest: it starts the stand-in service";
    long first = 0;
    for (int i = 0; i < 1000; ++i) {
        Text source = i % 2 ? "hello\r\nworld" : "你好";
        Translation t = translation_from_reply(http_request(redirected_to_stand_in(build_signed_url(source))));
        ASSERT_TRUE(t.ok) << i << ": " << t.reason.str();
        if (i == 9) first = resident_kib();  // after the allocators have warmed up
    }
    long last = resident_kib();
    std::printf("resident memory after 10 translations: %ld KiB, after 1000: %ld KiB\n", first, last);
}

}  // namespace
