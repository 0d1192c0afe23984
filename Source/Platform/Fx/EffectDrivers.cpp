#include "Platform/Fx/EffectDrivers.h"

#include <algorithm>
#include <vector>

namespace fx {

namespace {

std::vector<const EffectDriverMaker*>& Makers()
{
    static std::vector<const EffectDriverMaker*> makers;
    return makers;
}

class PassiveEffectDriver final : public EffectDriver {
public:
    HRESULT BeginPass(const EffectView&, uint32_t, uint32_t) override { return D3D_OK; }
    HRESULT CommitChanges(const EffectView&, uint32_t, uint32_t) override { return D3D_OK; }
    void EndPass() override {}
    void End(bool) override {}
};

} // namespace

EffectDriverRegistration::EffectDriverRegistration(EffectDriverMaker maker) : maker_(std::move(maker))
{
    Makers().push_back(&maker_);
}

EffectDriverRegistration::~EffectDriverRegistration()
{
    auto& makers = Makers();
    makers.erase(std::find(makers.begin(), makers.end(), &maker_));
}

std::unique_ptr<EffectDriver> MakeEffectDriver(IDirect3DDevice9& device, const EffectDescription& description,
                                               std::string& messages)
{
    const auto& makers = Makers();
    for (auto maker = makers.rbegin(); maker != makers.rend(); ++maker)
        if ((*maker)->serves(device))
            return (*maker)->make(device, description, messages);
    return std::make_unique<PassiveEffectDriver>();
}

} // namespace fx
