// The auto-repeat machine on a fake clock: a click steps once, a held button
// steps after the first delay and then at the repeat interval, a release
// after the repeat started adds none, and one button repeats at a time.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ui/widgets/auto_repeat.h"

namespace {

// One pending one-shot timer at a time is all the machine may hold.
struct FakeClock {
    long now = 0;
    struct Pending {
        unsigned long id;
        long due;
        AutoRepeat *machine;
    };
    std::vector<Pending> pending;
    unsigned long nextId = 1;

    void advanceTo(long t)
    {
        while (true) {
            int first = -1;
            for (size_t i = 0; i < pending.size(); i++) {
                if (pending[i].due <= t && (first < 0 || pending[i].due < pending[first].due))
                    first = static_cast<int>(i);
            }
            if (first < 0)
                break;
            Pending p = pending[first];
            pending.erase(pending.begin() + first);
            now = p.due;
            autoRepeatTimer(p.machine);
        }
        now = t;
    }
};

FakeClock *theClock = nullptr;
std::vector<std::pair<long, std::string>> steps; // (time, button)

unsigned long fakeStart(AutoRepeat *m, int ms)
{
    const unsigned long id = theClock->nextId++;
    theClock->pending.push_back({id, theClock->now + ms, m});
    return id;
}

void fakeCancel(unsigned long id)
{
    for (size_t i = 0; i < theClock->pending.size(); i++) {
        if (theClock->pending[i].id == id) {
            theClock->pending.erase(theClock->pending.begin() + static_cast<long>(i));
            return;
        }
    }
    ADD_FAILURE() << "cancelled a timer that is not pending: " << id;
}

void record(void *button) { steps.emplace_back(theClock->now, static_cast<const char *>(button)); }

char plus[] = "plus";
char minus[] = "minus";

struct AutoRepeatTest : ::testing::Test {
    FakeClock clock;
    AutoRepeat m{};
    void SetUp() override
    {
        theClock = &clock;
        steps.clear();
        m.firstMs = 300;
        m.repeatMs = 40;
        m.startTimer = fakeStart;
        m.cancelTimer = fakeCancel;
        m.action = record;
    }
    std::vector<long> times() const
    {
        std::vector<long> t;
        for (const auto &s : steps)
            t.push_back(s.first);
        return t;
    }
};

TEST_F(AutoRepeatTest, ClickStepsOnceAtTheRelease)
{
    autoRepeatArm(&m, plus);
    clock.advanceTo(120);
    EXPECT_TRUE(steps.empty()) << "nothing before the release";
    autoRepeatDisarm(&m, plus);
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0], std::make_pair(120L, std::string("plus")));
    EXPECT_TRUE(clock.pending.empty()) << "the first timer is removed";
    clock.advanceTo(2000);
    EXPECT_EQ(steps.size(), 1u);
}

TEST_F(AutoRepeatTest, HoldingStepsAfter300msThenEvery40msAndTheReleaseAddsNone)
{
    autoRepeatArm(&m, minus);
    clock.advanceTo(299);
    EXPECT_TRUE(steps.empty());
    clock.advanceTo(300);
    EXPECT_EQ(times(), (std::vector<long>{300}));
    clock.advanceTo(425);
    EXPECT_EQ(times(), (std::vector<long>{300, 340, 380, 420}));
    autoRepeatDisarm(&m, minus);
    EXPECT_EQ(times(), (std::vector<long>{300, 340, 380, 420})) << "no step at the release";
    EXPECT_TRUE(clock.pending.empty());
    clock.advanceTo(1000);
    EXPECT_EQ(steps.size(), 4u);

    // The next press starts afresh: a click again steps once.
    autoRepeatArm(&m, plus);
    clock.advanceTo(1100);
    autoRepeatDisarm(&m, plus);
    EXPECT_EQ(steps.back(), std::make_pair(1100L, std::string("plus")));
    EXPECT_EQ(steps.size(), 5u);
}

TEST_F(AutoRepeatTest, OneButtonRepeatsAtATime)
{
    autoRepeatArm(&m, plus);
    clock.advanceTo(100);
    autoRepeatArm(&m, minus); // a second press while armed is ignored
    autoRepeatDisarm(&m, minus); // and so is the other button's release
    EXPECT_TRUE(steps.empty());
    EXPECT_EQ(clock.pending.size(), 1u);
    clock.advanceTo(340);
    EXPECT_EQ(steps.size(), 2u);
    for (const auto &s : steps)
        EXPECT_EQ(s.second, "plus");
    autoRepeatDisarm(&m, plus);
    EXPECT_EQ(steps.size(), 2u);
    autoRepeatDisarm(&m, plus); // a release without a press does nothing
    EXPECT_EQ(steps.size(), 2u);
}

TEST_F(AutoRepeatTest, ZoomRepeatsEvery15ms)
{
    m.repeatMs = 15;
    autoRepeatArm(&m, plus);
    clock.advanceTo(345);
    EXPECT_EQ(times(), (std::vector<long>{300, 315, 330, 345}));
    autoRepeatDisarm(&m, plus);
    EXPECT_EQ(steps.size(), 4u);
}

} // namespace
