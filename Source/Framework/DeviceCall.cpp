#include "Framework/DeviceCall.h"

#include "Framework/FrameworkEx.h"

#include <utility>

namespace {

std::function<bool()>& DeviceLostHandler()
{
    static std::function<bool()> handler;
    return handler;
}

struct NamedCode {
    HRESULT code;
    const char* name;
};

#define NAMED(code) NamedCode{code, #code}
constexpr NamedCode ErrorNames[] = {
    NAMED(D3D_OK),
    NAMED(D3DOK_NOAUTOGEN),
    NAMED(E_NOTIMPL),
    NAMED(E_NOINTERFACE),
    NAMED(E_FAIL),
    NAMED(E_OUTOFMEMORY),
    NAMED(E_INVALIDARG),
    NAMED(D3DERR_OUTOFVIDEOMEMORY),
    NAMED(D3DERR_WASSTILLDRAWING),
    NAMED(D3DERR_WRONGTEXTUREFORMAT),
    NAMED(D3DERR_UNSUPPORTEDCOLOROPERATION),
    NAMED(D3DERR_UNSUPPORTEDCOLORARG),
    NAMED(D3DERR_UNSUPPORTEDALPHAOPERATION),
    NAMED(D3DERR_UNSUPPORTEDALPHAARG),
    NAMED(D3DERR_TOOMANYOPERATIONS),
    NAMED(D3DERR_CONFLICTINGTEXTUREFILTER),
    NAMED(D3DERR_UNSUPPORTEDFACTORVALUE),
    NAMED(D3DERR_CONFLICTINGRENDERSTATE),
    NAMED(D3DERR_UNSUPPORTEDTEXTUREFILTER),
    NAMED(D3DERR_CONFLICTINGTEXTUREPALETTE),
    NAMED(D3DERR_DRIVERINTERNALERROR),
    NAMED(D3DERR_NOTFOUND),
    NAMED(D3DERR_MOREDATA),
    NAMED(D3DERR_DEVICELOST),
    NAMED(D3DERR_DEVICENOTRESET),
    NAMED(D3DERR_NOTAVAILABLE),
    NAMED(D3DERR_INVALIDDEVICE),
    NAMED(D3DERR_INVALIDCALL),
    NAMED(D3DERR_DRIVERINVALIDCALL),
    NAMED(D3DXERR_CANNOTMODIFYINDEXBUFFER),
    NAMED(D3DXERR_INVALIDMESH),
    NAMED(D3DXERR_CANNOTATTRSORT),
    NAMED(D3DXERR_SKINNINGNOTSUPPORTED),
    NAMED(D3DXERR_TOOMANYINFLUENCES),
    NAMED(D3DXERR_INVALIDDATA),
    NAMED(D3DXERR_LOADEDMESHASNODATA),
    NAMED(D3DXERR_DUPLICATENAMEDFRAGMENT),
    NAMED(D3DXERR_CANNOTREMOVELASTITEM),
};
#undef NAMED

// The thread's latest refusal, if it was made since refusalsBefore and answered result: a call
// may go on to another that fails for its own reason.
const FrontRefusal* RefusalSince(uint64_t refusalsBefore, HRESULT result)
{
    const std::optional<FrontRefusal>& latest = LatestRefusalOnThisThread();
    if (RefusalsOnThisThread() == refusalsBefore || !latest || FrontCheckResult(latest->check) != result)
        return nullptr;
    return &*latest;
}

} // namespace

const char* ErrorName(HRESULT code)
{
    for (const NamedCode& entry : ErrorNames)
        if (entry.code == code)
            return entry.name;
    return "UNKNOWN ERROR!";
}

void SetDeviceLostHandler(std::function<bool()> handler)
{
    DeviceLostHandler() = std::move(handler);
}

std::string DeviceCallMessage(HRESULT result, const CallSite& site)
{
    return std::string("Error: ") + ErrorName(result) + "\n\n" + site.path + " : " + std::to_string(site.line);
}

std::string DeviceCallMessage(HRESULT result, const CallSite& site, const FrontRefusal* refusal)
{
    std::string message = DeviceCallMessage(result, site);
    if (refusal) {
        message += "\n\n" + DescribeRefusal(*refusal);
    }
    return message;
}

bool CheckDeviceCall(HRESULT result, const CallSite& site)
{
    if (SUCCEEDED(result))
        return true;
    if (result == D3DERR_DEVICELOST && DeviceLostHandler() && DeviceLostHandler()())
        return false;
    throw FrameworkEx(DeviceCallMessage(result, site));
}

bool CheckDeviceCallAt(HRESULT result, const char* file, int line, uint64_t refusalsBefore)
{
    if (SUCCEEDED(result))
        return true;
    if (result == D3DERR_DEVICELOST && DeviceLostHandler() && DeviceLostHandler()())
        return false;
    throw FrameworkEx(DeviceCallMessage(result, CurrentCallSite(file, line), RefusalSince(refusalsBefore, result)));
}

void CheckDeviceCreation(const std::function<HRESULT()>& create, const CallSite& site)
{
    uint64_t refusalsBefore = RefusalsOnThisThread();
    const HRESULT first = create();
    if (SUCCEEDED(first))
        return;
    if (first != D3DERR_DEVICELOST || !DeviceLostHandler() || !DeviceLostHandler()())
        throw FrameworkEx(DeviceCallMessage(first, site, RefusalSince(refusalsBefore, first)));
    refusalsBefore = RefusalsOnThisThread();
    if (const HRESULT again = create(); FAILED(again))
        throw FrameworkEx(DeviceCallMessage(again, site, RefusalSince(refusalsBefore, again)));
}

CallSite CurrentCallSite(const char* file, int line)
{
    // The project's own files are named from its root, in the Windows form the messages use.
    std::string path = file;
    const std::string root = QL_SOURCE_DIR;
    if (path.compare(0, root.size(), root) == 0) {
        path = ".\\" + path.substr(root.size());
    } else if (path.compare(0, 3, "../") == 0) {
        // Compiled from a build folder below the root under a relative name (as a compiler cache
        // makes it): the same file, named from the root.
        while (path.compare(0, 3, "../") == 0)
            path.erase(0, 3);
        path = ".\\" + path;
    }
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return CallSite{path, line};
}
