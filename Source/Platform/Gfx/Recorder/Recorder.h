// The Recorder: a graphics backend for tests. Every call that reaches it is kept as data (the
// operation, its arguments, its result, and for draws, clears and copies what was bound), and it
// answers questions about them: how many calls of an operation, the arguments of the Nth one,
// what a draw saw, which objects are still alive, what a surface holds. It can fail the Nth call
// of an operation, or every call from the Nth on, with a chosen code; an injected
// D3DERR_DEVICELOST leaves the device lost (Present: D3DERR_DEVICELOST, TestCooperativeLevel:
// D3DERR_DEVICENOTRESET) until a Reset succeeds.
//
// A test makes one Recorder and hands CreateRecorderDirect3D(recorder) to the code under test;
// the Recorder outlives the objects and keeps answering after they are gone.
#pragma once

#include <array>
#include <memory>
#include <utility>
#include <vector>

#include "Platform/Gfx/Recorder/CallRecord.h"
#include "Platform/Gfx/Recorder/FailurePlan.h"
#include "Platform/Gfx/Recorder/LiveObject.h"
#include "Platform/Gfx/Recorder/RecorderConfig.h"
#include "Platform/Gfx/Recorder/Rgba.h"

struct EffectDrawRecord;

class Recorder {
public:
    explicit Recorder(RecorderConfig config = {});
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    // Read when the backend answers, so a test may change it between calls.
    RecorderConfig& Config() { return config_; }
    const RecorderConfig& Config() const { return config_; }

    // Calls.
    size_t Count(Op op) const { return counts_[static_cast<size_t>(op)]; }
    const std::vector<CallRecord>& Calls() const { return calls_; }
    std::vector<Op> Sequence() const;
    // The index-th call of op (0 for the first); throws std::out_of_range naming the call when
    // there is none (or calls are not kept).
    const CallRecord& Record(Op op, size_t index) const;
    template <Op op>
    const typename ArgumentsOf<op>::type& Call(size_t index) const
    {
        return std::get<typename ArgumentsOf<op>::type>(Record(op, index).arguments);
    }
    // What was bound at the index-th call of op (Clear, StretchRect or DrawIndexedPrimitive).
    const DeviceState& Bound(Op op, size_t index) const;

    // Failures.
    FailurePlan& Failures() { return failures_; }
    void FailCall(Op op, size_t index, HRESULT code) { failures_.FailCall(op, index, code); }
    void FailCallsFrom(Op op, size_t first, HRESULT code) { failures_.FailCallsFrom(op, first, code); }
    bool DeviceLost() const { return lost_; }

    // Objects: every object a Recorder backend still stores, in creation order, and how many
    // Direct3D objects (with their backends) exist.
    std::vector<LiveObject> LiveObjects() const;
    size_t Direct3DObjectsAlive() const { return backends_; }

    // Contents, for surfaces, volumes and buffers of a Recorder backend; each throws
    // std::invalid_argument for another object or a position outside it.
    Rgba Pixel(const IDirect3DSurface9& surface, UINT x, UINT y) const;
    // Depth in [0, 1] and stencil of a depth-stencil surface.
    float Depth(const IDirect3DSurface9& surface, UINT x, UINT y) const;
    DWORD Stencil(const IDirect3DSurface9& surface, UINT x, UINT y) const;
    // Rows packed without padding, top row first.
    std::vector<BYTE> SurfaceBytes(const IDirect3DSurface9& surface) const;
    // Slices of packed rows, front slice first.
    std::vector<BYTE> VolumeBytes(const IDirect3DVolume9& volume) const;
    std::vector<BYTE> BufferBytes(const IDirect3DVertexBuffer9& buffer) const;
    std::vector<BYTE> BufferBytes(const IDirect3DIndexBuffer9& buffer) const;

    // Effects: where the effect drivers of this Recorder's devices leave their pass snapshots
    // (set by an EffectDrawLog while it exists; without one they leave none).
    std::shared_ptr<EffectDrawRecord> EffectRecord() const { return effectRecord_.lock(); }
    void SetEffectRecord(std::weak_ptr<EffectDrawRecord> record) { effectRecord_ = std::move(record); }

private:
    friend class RecordingBackend;
    friend class RecorderRegistration;

    void Append(CallRecord record);
    void Register(ObjectKind kind, const Unknown& object);
    void Unregister(const Unknown& object);

    RecorderConfig config_;
    std::array<size_t, kOpCount> counts_{};
    std::vector<CallRecord> calls_;
    std::array<std::vector<size_t>, kOpCount> positions_;
    FailurePlan failures_;
    bool lost_ = false;
    size_t backends_ = 0;
    std::vector<std::pair<ObjectKind, const Unknown*>> live_;
    std::weak_ptr<EffectDrawRecord> effectRecord_;
};
