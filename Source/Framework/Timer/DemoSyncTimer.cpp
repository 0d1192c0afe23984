#include "Framework/Timer/DemoSyncTimer.h"

#include "Framework/Timer/Timer.h"

double DemoSyncTimer::currentRow() const
{
    return Timer::GetElapsed() * SyncRowRate;
}

void DemoSyncTimer::seekRow(float row)
{
    const float seconds = static_cast<float>(row / SyncRowRate);
    Timer::SetTime(seconds, 0.0);
}
