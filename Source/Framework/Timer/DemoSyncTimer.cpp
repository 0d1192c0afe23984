#include "Framework/Timer/DemoSyncTimer.h"

#include "Framework/Timer/Timer.h"

double ShowRow()
{
    return Timer::GetElapsed() * SyncRowRate;
}

double DemoSyncTimer::currentRow() const
{
    return ShowRow();
}

void DemoSyncTimer::seekRow(float row)
{
    const float seconds = static_cast<float>(row / SyncRowRate);
    Timer::SetTime(seconds, 0.0);
}
