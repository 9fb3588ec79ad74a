#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "client/http.h"
#include "tests/standin.h"
#include "text/events.h"

namespace {

std::int32_t last_pump = 0;
std::int32_t largest_gap = 0;

void note_pump() {
    std::int32_t now = uptime_ms();
    largest_gap = std::max(largest_gap, now - last_pump);
    last_pump = now;
}

// The window's events keep running while the service takes its time, from the call to its return.
TEST(HttpPumpTest, EventsRunThroughASlowReply) {
    ASSERT_NE(stand_in().port, 0) << "no standin.port here: run through ctest";
    for (const char* modes : {"slow=2000", "big=600,drip=2"}) {
        last_pump = uptime_ms();
        largest_gap = 0;
        observe_process_events(note_pump);
        HttpReply reply = http_request(fault_url(modes));
        note_pump();
        observe_process_events(nullptr);

        EXPECT_EQ(reply.outcome, HttpOutcome::completed) << modes;
        EXPECT_LT(largest_gap, 50) << modes;
    }
}

}  // namespace
