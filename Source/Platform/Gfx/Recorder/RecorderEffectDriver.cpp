#include "Platform/Gfx/Recorder/RecorderEffectDriver.h"

#include "Platform/Gfx/Recorder/EffectDrawLog.h"

HRESULT RecorderEffectDriver::BeginPass(const fx::EffectView& effect, uint32_t technique, uint32_t pass)
{
    Snapshot(effect, technique, pass, false);
    return D3D_OK;
}

HRESULT RecorderEffectDriver::CommitChanges(const fx::EffectView& effect, uint32_t technique, uint32_t pass)
{
    Snapshot(effect, technique, pass, true);
    return D3D_OK;
}

void RecorderEffectDriver::EndPass()
{
    if (!record_)
        return;
    CloseOpenSnapshot();
    ++record_->passesEnded;
}

void RecorderEffectDriver::End(bool)
{
    if (record_)
        ++record_->techniquesEnded;
}

void RecorderEffectDriver::CloseOpenSnapshot()
{
    if (open_)
        record_->snapshots[*open_].endDraw = record_->DrawsSoFar();
    open_.reset();
}

void RecorderEffectDriver::Snapshot(const fx::EffectView& effect, uint32_t technique, uint32_t pass, bool committed)
{
    if (!record_)
        return;
    CloseOpenSnapshot();
    const fx::Technique& chosen = effect.description.techniques[technique];
    EffectPassSnapshot snapshot;
    snapshot.effect = &effect.effect;
    snapshot.technique = chosen.name;
    snapshot.pass = chosen.passes[pass].name;
    snapshot.passIndex = pass;
    snapshot.states = chosen.passes[pass].states;
    snapshot.firstDraw = record_->DrawsSoFar();
    snapshot.committed = committed;
    for (size_t i = 0; i < effect.description.parameters.size(); ++i) {
        const fx::Parameter& parameter = effect.description.parameters[i];
        const fx::ParameterValue& value = *effect.values[i];
        snapshot.parameters.push_back({parameter.name, parameter.semantic, value.floats, value.texture.Get()});
    }
    open_ = record_->snapshots.size();
    record_->snapshots.push_back(std::move(snapshot));
}
