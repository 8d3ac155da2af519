#include "fakes/FakeClock.h"

#include "scripts/Clock.h"

namespace {

// The one time of the test process; tests run one after another on one thread.
uint64_t& fakeNow()
{
    static uint64_t now = FakeClock::kStart;
    return now;
}

} // namespace

void FakeClock::set(uint64_t now)
{
    fakeNow() = now;
}

void FakeClock::advance(uint64_t seconds)
{
    fakeNow() += seconds;
}

uint64_t FakeClock::now()
{
    return fakeNow();
}

uint64_t currentTime()
{
    return fakeNow();
}
