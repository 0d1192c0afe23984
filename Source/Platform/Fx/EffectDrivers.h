// Which driver an effect gets on its device. A backend's effect library registers a maker for the
// devices it serves; the newest registration that serves a device wins. A device that no
// registration serves gets the passive driver: its effects keep every value and Begin, BeginPass,
// CommitChanges, EndPass and End keep their rules, but nothing reaches the device (enough for
// code that only loads effects and sets their parameters).
#pragma once

#include "Platform/Fx/EffectDriver.h"

#include <functional>
#include <memory>
#include <string>

namespace fx {

struct EffectDriverMaker {
    std::function<bool(IDirect3DDevice9& device)> serves;
    // Null with messages (file:line: what is wrong) when the effect cannot run on the device.
    std::function<std::unique_ptr<EffectDriver>(IDirect3DDevice9& device, const EffectDescription& description,
                                                std::string& messages)>
        make;
};

// Registered for as long as it exists.
class EffectDriverRegistration {
public:
    explicit EffectDriverRegistration(EffectDriverMaker maker);
    ~EffectDriverRegistration();
    EffectDriverRegistration(const EffectDriverRegistration&) = delete;
    EffectDriverRegistration& operator=(const EffectDriverRegistration&) = delete;

private:
    EffectDriverMaker maker_;
};

std::unique_ptr<EffectDriver> MakeEffectDriver(IDirect3DDevice9& device, const EffectDescription& description,
                                               std::string& messages);

} // namespace fx
