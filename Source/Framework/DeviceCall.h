// The checked device call rule: a failed Direct3D or D3DX call either recovers a lost device or
// raises FrameworkEx "Error: <code name>\n\n<source path> : <line>". When the device front refused
// the call, a blank line and the refusal (the call, the check's identifier and what is wrong)
// follow, so the message says why.
#pragma once

#include "Platform/Gfx/Refusal.h"
#include "Platform/Gfx/Result.h"

#include <cstdint>
#include <functional>
#include <string>

// The name of a result code as the Direct3D 9 and D3DX 9 headers spell it, or "UNKNOWN ERROR!".
const char* ErrorName(HRESULT code);

// Where a device call was made, in the form messages show: ".\Source\Framework\DXFramework.cpp".
struct CallSite {
    std::string path;
    int line;
};

// Runs the framework's device reset on D3DERR_DEVICELOST and tells whether it did. Without a
// handler, or when it declines (no device yet), a lost device is reported like any other failure.
void SetDeviceLostHandler(std::function<bool()> handler);

// Applies the rule to result. Returns true when the call succeeded, false when a lost device was
// recovered (the caller continues after the call).
bool CheckDeviceCall(HRESULT result, const CallSite& site);

// Applies the rule to a creation: after a lost device was recovered the creation is tried once
// more on the new device, and a device lost again is reported like any other failure.
void CheckDeviceCreation(const std::function<HRESULT()>& create, const CallSite& site);

// The message for a failed call at site, with the refusal behind it when there was one.
std::string DeviceCallMessage(HRESULT result, const CallSite& site);
std::string DeviceCallMessage(HRESULT result, const CallSite& site, const FrontRefusal* refusal);

// Applies the rule to the result of call(), naming the refusal the call met, if any. The call site
// is worked out only for a failure.
bool CheckDeviceCallAt(HRESULT result, const char* file, int line, uint64_t refusalsBefore);
template <class Call>
bool CheckedDeviceCall(const Call& call, const char* file, int line)
{
    const uint64_t refusalsBefore = RefusalsOnThisThread();
    return CheckDeviceCallAt(call(), file, line, refusalsBefore);
}

// The call site of the code that expands it, for call sites without a fixed path and line.
CallSite CurrentCallSite(const char* file, int line);

#define DEVICE_CALL(call) CheckedDeviceCall([&]() -> HRESULT { return (call); }, __FILE__, __LINE__)
#define DEVICE_CREATION(call) CheckDeviceCreation([&] { return (call); }, CurrentCallSite(__FILE__, __LINE__))
