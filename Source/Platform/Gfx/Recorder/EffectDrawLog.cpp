#include "Platform/Gfx/Recorder/EffectDrawLog.h"

#include "Platform/Gfx/Direct3D9.h"

#include <algorithm>
#include <stdexcept>

const EffectParameterSnapshot& EffectPassSnapshot::Parameter(const std::string& nameOrSemantic) const
{
    for (const EffectParameterSnapshot& parameter : parameters)
        if (parameter.name == nameOrSemantic)
            return parameter;
    for (const EffectParameterSnapshot& parameter : parameters)
        if (parameter.semantic == nameOrSemantic)
            return parameter;
    throw std::out_of_range("[EffectPassSnapshot::Parameter]: the effect has no parameter named or with the semantic \"" +
                            nameOrSemantic + "\"");
}

const std::vector<float>& EffectPassSnapshot::Floats(const std::string& nameOrSemantic) const
{
    const EffectParameterSnapshot& parameter = Parameter(nameOrSemantic);
    if (parameter.floats.empty())
        throw std::invalid_argument("[EffectPassSnapshot::Floats]: " + parameter.name + " is a texture");
    return parameter.floats;
}

const IDirect3DBaseTexture9* EffectPassSnapshot::Texture(const std::string& nameOrSemantic) const
{
    const EffectParameterSnapshot& parameter = Parameter(nameOrSemantic);
    if (!parameter.floats.empty())
        throw std::invalid_argument("[EffectPassSnapshot::Texture]: " + parameter.name + " is not a texture");
    return parameter.texture;
}

EffectDrawLog::EffectDrawLog(std::shared_ptr<Recorder> recorder)
    : record_(std::make_shared<EffectDrawRecord>(EffectDrawRecord{std::move(recorder), {}, 0, 0}))
{
    record_->recorder->SetEffectRecord(record_);
}

EffectDrawLog::~EffectDrawLog()
{
    record_->recorder->SetEffectRecord({});
}

const EffectPassSnapshot* EffectDrawLog::Find(size_t index) const
{
    // Snapshots of nested passes may overlap; the one taken last is what the draw saw.
    const auto& snapshots = record_->snapshots;
    for (auto snapshot = snapshots.rbegin(); snapshot != snapshots.rend(); ++snapshot)
        if (snapshot->firstDraw <= index && (!snapshot->endDraw || index < *snapshot->endDraw))
            return &*snapshot;
    return nullptr;
}

bool EffectDrawLog::DrawnThroughEffect(size_t index) const
{
    return index < record_->DrawsSoFar() && Find(index) != nullptr;
}

const EffectPassSnapshot& EffectDrawLog::Draw(size_t index) const
{
    if (index >= record_->DrawsSoFar())
        throw std::out_of_range("[EffectDrawLog::Draw]: no draw " + std::to_string(index) + " (" +
                                std::to_string(record_->DrawsSoFar()) + " recorded)");
    const EffectPassSnapshot* snapshot = Find(index);
    if (!snapshot)
        throw std::out_of_range("[EffectDrawLog::Draw]: draw " + std::to_string(index) +
                                " was made outside every effect pass");
    return *snapshot;
}
