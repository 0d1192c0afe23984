// The effect driver on a Recorder device whose Recorder has an EffectDrawLog: every pass that
// begins, and every commit, leaves a snapshot of the effect in the log.
#pragma once

#include "Platform/Fx/EffectDriver.h"

#include <memory>
#include <optional>

struct EffectDrawRecord;

class RecorderEffectDriver final : public fx::EffectDriver {
public:
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
