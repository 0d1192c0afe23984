// A refused call: which front method, which check refused it, and what the check adds. The
// Direct3D object and each device keep their last refusal; every refusal is also noted for the
// thread that made the call, so that the code reporting a failed call (DEVICE_CALL) can say why
// without holding the device.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "Platform/Gfx/FrontCheck.h"
#include "Platform/Gfx/GfxBackend.h"
#include "Platform/Gfx/Op.h"

struct FrontRefusal {
    // The method as Direct3D names it: the operation's name, or a front-only method's (a getter).
    const char* call = "";
    // The operation, when the method is one; only operations reach a backend's log.
    std::optional<Op> op;
    FrontCheck check{};
    // What the check found, when it says more than its text (the GL backend's framebuffer fault).
    std::string detail;
};

// "<call> refused (<identifier>): <text>", and the detail on a line of its own.
inline std::string DescribeRefusal(const FrontRefusal& refusal)
{
    std::string text = std::string(refusal.call) + " refused (" + FrontCheckName(refusal.check) +
                       "): " + FrontCheckText(refusal.check);
    if (!refusal.detail.empty()) {
        text += "\n" + refusal.detail;
    }
    return text;
}

namespace refusal_detail {
inline thread_local uint64_t refusalsOnThread = 0;
inline thread_local std::optional<FrontRefusal> latestOnThread;
} // namespace refusal_detail

// How many calls this thread has had refused: a caller notes it before a call and asks
// LatestRefusalOnThisThread afterwards only if it grew.
inline uint64_t RefusalsOnThisThread()
{
    return refusal_detail::refusalsOnThread;
}

inline const std::optional<FrontRefusal>& LatestRefusalOnThisThread()
{
    return refusal_detail::latestOnThread;
}

// The last refusal of an object that answers calls (the Direct3D object, a device).
class RefusalRecord {
public:
    // Keeps the refusal, notes it for the thread, tells the backend of a refused operation (the
    // Recorder logs it) and returns the code the call answers.
    HRESULT Refuse(GfxBackend& backend, FrontRefusal refusal)
    {
        if (refusal.op) {
            backend.Refused(*refusal.op, refusal.check);
        }
        const HRESULT result = FrontCheckResult(refusal.check);
        ++refusal_detail::refusalsOnThread;
        refusal_detail::latestOnThread = refusal;
        last_ = std::move(refusal);
        return result;
    }

    const std::optional<FrontRefusal>& Last() const { return last_; }

private:
    std::optional<FrontRefusal> last_;
};
