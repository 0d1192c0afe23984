// The Recorder's answers about effects: what each draw saw through the effect pass that was current
// when it was made. A test makes one log for its Recorder, before the effects are created; while
// it exists, the drivers of effects created on that Recorder's devices (RecorderEffectDriver) record here at every BeginPass and
// CommitChanges a snapshot of their technique, pass, render states and every parameter's value
// (textures as the objects set), and each snapshot covers the DrawIndexedPrimitive calls made
// until the next snapshot or EndPass. Draws are numbered as the Recorder numbers them.
#pragma once

#include "Platform/Fx/EffectDescription.h"
#include "Platform/Gfx/Recorder/Recorder.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class ID3DXEffect;

struct EffectParameterSnapshot {
    std::string name;
    std::string semantic;
    std::vector<float> floats;                        // empty for a texture
    const IDirect3DBaseTexture9* texture = nullptr;   // for a texture; may since have gone
};

struct EffectPassSnapshot {
    const ID3DXEffect* effect = nullptr; // may since have gone
    std::string technique;
    std::string pass;
    uint32_t passIndex = 0;
    std::vector<fx::StateSetting> states; // the pass's render states, in its order
    std::vector<EffectParameterSnapshot> parameters;
    // The draws it covers: firstDraw up to, not including, endDraw (none while the pass is open).
    size_t firstDraw = 0;
    std::optional<size_t> endDraw;
    bool committed = false; // made by CommitChanges rather than BeginPass

    // The parameter with that name, or else with that semantic; throws std::out_of_range.
    const EffectParameterSnapshot& Parameter(const std::string& nameOrSemantic) const;
    // Its floats (throws std::invalid_argument for a texture).
    const std::vector<float>& Floats(const std::string& nameOrSemantic) const;
    const IDirect3DBaseTexture9* Texture(const std::string& nameOrSemantic) const;
};

// What a log and the drivers of its effects share, so that effects may outlive the log.
struct EffectDrawRecord {
    std::shared_ptr<Recorder> recorder;
    std::vector<EffectPassSnapshot> snapshots;
    size_t passesEnded = 0;
    size_t techniquesEnded = 0;

    size_t DrawsSoFar() const { return recorder->Count(Op::DrawIndexedPrimitive); }
};

class EffectDrawLog {
public:
    explicit EffectDrawLog(std::shared_ptr<Recorder> recorder);
    ~EffectDrawLog();
    EffectDrawLog(const EffectDrawLog&) = delete;
    EffectDrawLog& operator=(const EffectDrawLog&) = delete;

    // What the index-th DrawIndexedPrimitive of the Recorder saw; throws std::out_of_range when
    // no effect pass was current at that draw.
    const EffectPassSnapshot& Draw(size_t index) const;
    bool DrawnThroughEffect(size_t index) const;
    // Every snapshot, in the order they were taken.
    const std::vector<EffectPassSnapshot>& Snapshots() const { return record_->snapshots; }
    // How many passes (EndPass) and techniques (End) the logged effects ended.
    size_t PassesEnded() const { return record_->passesEnded; }
    size_t TechniquesEnded() const { return record_->techniquesEnded; }

private:
    const EffectPassSnapshot* Find(size_t index) const;

    std::shared_ptr<EffectDrawRecord> record_;
};
