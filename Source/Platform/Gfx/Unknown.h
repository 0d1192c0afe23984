// Reference counting in the manner of COM's IUnknown: AddRef and Release count the callers'
// references and an object is destroyed when the last one goes. The device also holds what is
// bound to it (targets, buffers, declarations); such holds keep an object alive without being
// callers' references, so a caller that released everything it made has no references left
// even while the device still draws with them.
//
// A part of another object (a texture's level surface, a cube face, a volume level, the device's
// back buffer) forwards AddRef and Release to its owner, as Direct3D does: holding a level keeps
// its texture alive.
#pragma once

#include "Platform/Gfx/D3D9Base.h"

class Unknown {
public:
    Unknown(const Unknown&) = delete;
    Unknown& operator=(const Unknown&) = delete;

    ULONG AddRef();
    ULONG Release();

    // References held by callers on this object itself (for a part: on the part, not its owner).
    ULONG CallerReferences() const { return references_; }

    // Device holds, for top-level objects only (a part is held through its owner).
    void AddDeviceHold();
    void ReleaseDeviceHold();

protected:
    // A top-level object, created with one caller reference.
    Unknown() = default;
    // A part of owner, created with no references of its own.
    explicit Unknown(Unknown& owner) : owner_(&owner), references_(0) {}
    virtual ~Unknown() = default;

    // Called when the first caller reference comes back after all were released.
    virtual void OnCallerReturned() {}
    // Called when the last caller reference goes; returns an object whose reference this one
    // held on the callers' behalf (its device), released after this object is settled.
    virtual Unknown* OnLastCallerGone() { return nullptr; }

private:
    Unknown* owner_ = nullptr;
    ULONG references_ = 1;
    ULONG deviceHolds_ = 0;
};
