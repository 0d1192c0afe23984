// The sync clock over the show's Timer: rows are show seconds times SyncRowRate.
#pragma once

#include "sync/timer.h"

// 1024/60 rows per second: 128 beats per minute at 8 rows per beat.
constexpr double SyncRowRate = 17.066666666666666;

// The show clock's time in rows, as every track is read.
double ShowRow();

class DemoSyncTimer : public SyncTimer {
public:
    void pause() override {}
    void resume() override {}
    double currentRow() const override;
    // Moves the show clock so that it reads row / SyncRowRate seconds now.
    void seekRow(float row) override;
    bool isPlaying() const override { return true; }
};
