#include "turnmeter.h"

#include <algorithm>
#include <time.h>

namespace {

qint64 threadCpuNanoseconds()
{
    timespec t {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

} // namespace

TurnMeter::TurnMeter()
{
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(1);
    QObject::connect(&ticker, &QTimer::timeout, [this] { tick(); });
    clock.start();
    lastCpu = threadCpuNanoseconds();
    ticker.start();
}

void TurnMeter::tick()
{
    const qint64 now = clock.nsecsElapsed();
    const qint64 cpu = threadCpuNanoseconds();
    longest = std::max(longest, (now - last) / 1e9);
    longestCpu[phase] = std::max(longestCpu[phase], (cpu - lastCpu) / 1e9);
    last = now;
    lastCpu = cpu;
}

void TurnMeter::enter(Phase next)
{
    tick();
    phase = next;
}

double TurnMeter::longestGap()
{
    tick();
    return longest;
}
