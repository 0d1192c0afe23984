// The clock through which a sync device reads and seeks rows.
#pragma once

class SyncTimer {
public:
    virtual ~SyncTimer() = default;
    virtual void pause() = 0;
    virtual void resume() = 0;
    virtual double currentRow() const = 0;
    virtual void seekRow(float row) = 0;
    virtual bool isPlaying() const = 0;
};
