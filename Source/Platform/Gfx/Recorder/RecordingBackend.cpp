#include "Platform/Gfx/Recorder/RecordingBackend.h"

#include <type_traits>

#include "Platform/Gfx/Direct3D9.h"
#include "Platform/Gfx/Recorder/Recorder.h"
#include "Platform/Gfx/Recorder/detail/ArgumentCapture.h"

RecordingBackend::RecordingBackend(std::shared_ptr<Recorder> recorder, std::unique_ptr<GfxBackend> inner)
    : recorder_(std::move(recorder)), inner_(std::move(inner))
{
    ++recorder_->backends_;
}

RecordingBackend::~RecordingBackend()
{
    --recorder_->backends_;
}

template <Op op, class Invoke>
HRESULT RecordingBackend::Decide(size_t index, bool& injected, Invoke invoke)
{
    Recorder& recorder = *recorder_;
    HRESULT result;
    injected = true;
    if (const auto planned = recorder.failures_.FailureFor(op, index)) {
        result = *planned;
    } else if (recorder.lost_ && op == Op::Present) {
        result = D3DERR_DEVICELOST;
    } else if (recorder.lost_ && op == Op::TestCooperativeLevel) {
        result = D3DERR_DEVICENOTRESET;
    } else {
        injected = false;
        result = invoke();
    }
    if (injected && result == D3DERR_DEVICELOST) {
        recorder.lost_ = true;
    }
    if (op == Op::Reset && SUCCEEDED(result)) {
        recorder.lost_ = false;
    }
    return result;
}

template <Op op, class Arguments, class Invoke>
auto RecordingBackend::Record(Arguments arguments, Invoke invoke)
{
    using Result = decltype(invoke());
    CallRecord record;
    record.op = op;
    record.index = recorder_->Count(op);
    if constexpr (op == Op::Clear || op == Op::StretchRect || op == Op::DrawIndexedPrimitive) {
        record.bound = device_->State();
    }
    if constexpr (std::is_void_v<Result>) {
        // A notice (Refused): logged as it came, never failed.
        invoke();
        Keep(std::move(record), std::move(arguments), true);
    } else {
        Result result;
        bool succeeded = true;
        if constexpr (std::is_same_v<Result, HRESULT>) {
            result = Decide<op>(record.index, record.injected, invoke);
            record.result = result;
            succeeded = SUCCEEDED(result);
        } else {
            result = invoke();
            record.count = result;
        }
        if constexpr (op == Op::CreateDevice) {
            if (succeeded) {
                device_ = *arguments.ppReturnedDeviceInterface;
            }
        }
        Keep(std::move(record), std::move(arguments), succeeded);
        return result;
    }
}

template <class Arguments>
void RecordingBackend::Keep(CallRecord record, Arguments arguments, bool succeeded)
{
    if (recorder_->Config().keepCalls) {
        CaptureArguments(arguments, record.copies, succeeded);
        record.arguments = std::move(arguments);
    }
    recorder_->Append(std::move(record));
}

#define OP(result, name, params, args)                                                                  \
    result RecordingBackend::name params                                                                \
    {                                                                                                   \
        return Record<Op::name>(Calls::name{QL_UNPAREN args}, [&] { return inner_->name args; }); \
    }
#include "Platform/Gfx/GfxOps.inc"
#undef OP
