#pragma once

#include <QElapsedTimer>
#include <QTimer>

// The longest time between two turns of the event loop, nested loops included: a timer
// that asks to fire every millisecond notes the longest time between two of its firings.
// On a shared machine the wall-clock gap grows with the load; the processor time the
// thread spent in the gap does not, and is kept apart for Open (the read and the change
// of document) and for the layout after it.
class TurnMeter
{
public:
    enum Phase { Opening, LayingOut };

    TurnMeter();
    void enter(Phase next);                      // the gaps from now on count for next
    double longestGap();                         // seconds, wall clock
    double longestCpuGap(Phase in) const { return longestCpu[in]; }   // seconds

private:
    void tick();

    QTimer ticker;
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 lastCpu = 0;
    Phase phase = Opening;
    double longest = 0;
    double longestCpu[2] = {0, 0};
};
