// The recording half of the Recorder: a backend that wraps another one, generated from
// GfxOps.inc. Each call is numbered, failed by the Recorder's plan or passed on, and appended to
// the Recorder's log with its arguments and result.
#pragma once

#include <memory>

#include "Platform/Gfx/GfxBackend.h"
#include "Platform/Window/WinTypes.h"
#include "Platform/Gfx/Op.h"

class Recorder;
struct CallRecord;

class RecordingBackend final : public GfxBackend {
public:
    RecordingBackend(std::shared_ptr<Recorder> recorder, std::unique_ptr<GfxBackend> inner);
    ~RecordingBackend() override;

    uint32_t WindowStyle() const override { return inner_->WindowStyle(); }

#define OP(result, name, params, args) result name params override;
#include "Platform/Gfx/GfxOps.inc"
#undef OP

private:
    template <Op op, class Arguments, class Invoke>
    auto Record(Arguments arguments, Invoke invoke);
    template <class Arguments>
    void Keep(CallRecord record, Arguments arguments, bool succeeded);
    template <Op op, class Invoke>
    HRESULT Decide(size_t index, bool& injected, Invoke invoke);

    std::shared_ptr<Recorder> recorder_;
    std::unique_ptr<GfxBackend> inner_;
    // The device this backend serves, from the last CreateDevice; read only by its own calls.
    const IDirect3DDevice9* device_ = nullptr;
};
