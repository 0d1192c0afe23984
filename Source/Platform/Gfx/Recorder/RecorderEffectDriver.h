// The effect driver of the Recorder backend: when the Recorder had an EffectDrawLog as the effect
// was made, every pass that begins, and every commit, leaves a snapshot of the effect in that log;
// without one the driver keeps nothing (the pass's states and textures are recorded as the
// device's calls either way).
#pragma once

#include "Platform/Fx/EffectDriver.h"
#include "Platform/Gfx/Recorder/EffectDrawLog.h"

#include <memory>
#include <optional>

struct EffectDrawRecord;

class RecorderEffectDriver final : public fx::EffectDriver {
public:
    // record may be null.
    explicit RecorderEffectDriver(std::shared_ptr<EffectDrawRecord> record) : record_(std::move(record)) {}

    HRESULT BeginPass(const fx::EffectView& effect, uint32_t technique, uint32_t pass) override;
    HRESULT CommitChanges(const fx::EffectView& effect, uint32_t technique, uint32_t pass) override;
    void EndPass() override;
    void End(bool restoreStates) override;

private:
    void Snapshot(const fx::EffectView& effect, uint32_t technique, uint32_t pass, bool committed);
    void CloseOpenSnapshot();

    std::shared_ptr<EffectDrawRecord> record_;
    // Index of this driver's snapshot that is still open, if any.
    std::optional<size_t> open_;
};
