#include "Platform/Gfx/Recorder/Recorder.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "Platform/Gfx/Recorder/detail/DescribeObject.h"

Recorder::Recorder(RecorderConfig config) : config_(std::move(config)) {}

void Recorder::Append(CallRecord record)
{
    const auto op = static_cast<size_t>(record.op);
    ++counts_[op];
    if (config_.keepCalls) {
        positions_[op].push_back(calls_.size());
        calls_.push_back(std::move(record));
    }
}

std::vector<Op> Recorder::Sequence() const
{
    std::vector<Op> sequence;
    sequence.reserve(calls_.size());
    for (const CallRecord& call : calls_) {
        sequence.push_back(call.op);
    }
    return sequence;
}

const CallRecord& Recorder::Record(Op op, size_t index) const
{
    const std::vector<size_t>& positions = positions_[static_cast<size_t>(op)];
    if (index >= positions.size()) {
        throw std::out_of_range("[Recorder::Record]: no call " + std::to_string(index) + " of " + OpName(op) +
                                " (" + std::to_string(positions.size()) + " recorded)");
    }
    return calls_[positions[index]];
}

const DeviceState& Recorder::Bound(Op op, size_t index) const
{
    const CallRecord& record = Record(op, index);
    if (!record.bound) {
        throw std::invalid_argument(std::string("[Recorder::Bound]: ") + OpName(op) + " keeps no bindings");
    }
    return *record.bound;
}

void Recorder::Register(ObjectKind kind, const Unknown& object)
{
    live_.emplace_back(kind, &object);
}

void Recorder::Unregister(const Unknown& object)
{
    const auto found =
        std::find_if(live_.begin(), live_.end(), [&](const auto& entry) { return entry.second == &object; });
    if (found != live_.end()) {
        live_.erase(found);
    }
}

std::vector<LiveObject> Recorder::LiveObjects() const
{
    std::vector<LiveObject> objects;
    objects.reserve(live_.size());
    for (const auto& [kind, object] : live_) {
        objects.push_back(DescribeObject(kind, *object));
    }
    return objects;
}

const char* ObjectKindName(ObjectKind kind)
{
    switch (kind) {
    case ObjectKind::Device: return "device";
    case ObjectKind::Surface: return "surface";
    case ObjectKind::Texture: return "texture";
    case ObjectKind::CubeTexture: return "cube texture";
    case ObjectKind::VolumeTexture: return "volume texture";
    case ObjectKind::VertexBuffer: return "vertex buffer";
    case ObjectKind::IndexBuffer: return "index buffer";
    case ObjectKind::VertexDeclaration: return "vertex declaration";
    }
    return "object";
}
