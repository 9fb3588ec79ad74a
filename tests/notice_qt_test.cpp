// The owner search of the notice, on Qt: the first visible top-level window, or none in time.
#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>

#include "text/events.h"
#include "ui/notice_qt.h"

namespace {

int pumps = 0;

class FindProcessWindowTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        qputenv("QT_QPA_PLATFORM", "offscreen");  // no display needed
        static int argc = 1;
        static char name[] = "notice_qt_test";
        static char* argv[] = {name, nullptr};
        app = new QApplication(argc, argv);
    }
    // Gone before the process's static objects, which Qt's own teardown still needs.
    static void TearDownTestSuite() { delete app; }
    static inline QApplication* app = nullptr;
    void SetUp() override {
        pumps = 0;
        observe_process_events([] { ++pumps; });
    }
    void TearDown() override { observe_process_events(nullptr); }
};

TEST_F(FindProcessWindowTest, PassesOverHiddenWindowsToTheFirstVisibleOne) {
    QWidget hidden;
    QWidget shown;
    shown.show();
    EXPECT_EQ(find_process_window(1000), &shown);
    EXPECT_EQ(pumps, 0);  // a match is returned before any event runs
}

TEST_F(FindProcessWindowTest, GivesUpWithoutAVisibleWindowHavingRunTheEvents) {
    QWidget hidden;
    EXPECT_EQ(find_process_window(100), nullptr);
    EXPECT_GT(pumps, 0);
}

TEST_F(FindProcessWindowTest, NoTimeMeansNoSearch) {
    QWidget shown;
    shown.show();
    for (int limit : {0, -1}) {
        EXPECT_EQ(find_process_window(limit), nullptr) << limit;
    }
    EXPECT_EQ(pumps, 0);
}

// A window shown by an event that the search runs is found on the next pass.
TEST_F(FindProcessWindowTest, FindsAWindowShownWhileItWaits) {
    QWidget late;
    QMetaObject::invokeMethod(
        &late, [&late] { late.show(); }, Qt::QueuedConnection);
    EXPECT_EQ(find_process_window(1000), &late);
}

}  // namespace
