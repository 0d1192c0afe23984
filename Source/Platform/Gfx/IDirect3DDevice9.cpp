// The device's life: construction, destruction, frames, presentation and Reset.
#include "Platform/Gfx/IDirect3DDevice9.h"

#include <algorithm>

#include "Platform/Gfx/GfxBackend.h"
#include "Platform/Gfx/IDirect3D9.h"
#include "Platform/Gfx/IDirect3DBaseTexture9.h"
#include "Platform/Gfx/IDirect3DIndexBuffer9.h"
#include "Platform/Gfx/IDirect3DVertexBuffer9.h"
#include "Platform/Gfx/IDirect3DVertexDeclaration9.h"
#include "Platform/Gfx/detail/Bindings.h"
#include "Platform/Gfx/detail/PresentParameterChecks.h"

IDirect3DDevice9::IDirect3DDevice9(IDirect3D9& direct3d, std::shared_ptr<GfxBackend> driver,
                                   const D3DPRESENT_PARAMETERS& presentParameters, HWND focusWindow,
                                   DWORD behaviorFlags)
    : direct3d_(direct3d),
      driver_(std::move(driver)),
      presentParameters_(presentParameters),
      focusWindow_(focusWindow),
      behaviorFlags_(behaviorFlags),
      backBuffer_(std::make_unique<IDirect3DSurface9>(*this, *this, BackBufferDesc(presentParameters)))
{
    direct3d_.AddRef();
    BindBackBuffer();
    SetInitialRenderStates();
}

IDirect3DDevice9::~IDirect3DDevice9()
{
    // Dropping the holds may destroy objects that only the device kept; they still reach this
    // device and its backend while they go.
    UnbindAll();
    direct3d_.DeviceDestroyed(*this);
}

Unknown* IDirect3DDevice9::OnLastCallerGone()
{
    return &direct3d_;
}

HRESULT IDirect3DDevice9::GetDirect3D(IDirect3D9** ppD3D9)
{
    if (!ppD3D9) {
        return Refuse("GetDirect3D", FrontCheck::NullPointer);
    }
    direct3d_.AddRef();
    *ppD3D9 = &direct3d_;
    return D3D_OK;
}

void IDirect3DDevice9::RegisterResource(IDirect3DResource9& resource)
{
    resources_.push_back(&resource);
}

void IDirect3DDevice9::UnregisterResource(IDirect3DResource9& resource)
{
    const auto found = std::find(resources_.begin(), resources_.end(), &resource);
    if (found != resources_.end()) {
        resources_.erase(found);
    }
    for (IDirect3DBaseTexture9*& texture : state_.textures) {
        if (texture && static_cast<IDirect3DResource9*>(texture) == &resource) {
            texture = nullptr;
        }
    }
}

bool IDirect3DDevice9::Owns(const DeviceChild* object) const
{
    return &object->Device() == this;
}

void IDirect3DDevice9::UnbindAll()
{
    for (IDirect3DSurface9*& target : state_.renderTargets) {
        Rebind(target, static_cast<IDirect3DSurface9*>(nullptr));
    }
    Rebind(state_.depthStencil, static_cast<IDirect3DSurface9*>(nullptr));
    for (StreamSource& stream : state_.streams) {
        Rebind(stream.buffer, static_cast<IDirect3DVertexBuffer9*>(nullptr));
        stream = {};
    }
    Rebind(state_.indices, static_cast<IDirect3DIndexBuffer9*>(nullptr));
    Rebind(state_.vertexDeclaration, static_cast<IDirect3DVertexDeclaration9*>(nullptr));
    state_.textures.fill(nullptr);
    state_.inScene = false;
}

void IDirect3DDevice9::BindBackBuffer()
{
    Rebind(state_.renderTargets[0], backBuffer_.get());
    state_.viewport = {0, 0, backBuffer_->Desc().Width, backBuffer_->Desc().Height, 0.0f, 1.0f};
}

bool IDirect3DDevice9::ReferencedDefaultPoolResources() const
{
    if (backBuffer_->CallerReferences() > 0) {
        return true;
    }
    return std::any_of(resources_.begin(), resources_.end(), [](const IDirect3DResource9* resource) {
        return resource->Pool() == D3DPOOL_DEFAULT && resource->CallerReferences() > 0;
    });
}

HRESULT IDirect3DDevice9::TestCooperativeLevel()
{
    if (lostUntilReset_) {
        return D3DERR_DEVICENOTRESET;
    }
    return driver_->TestCooperativeLevel();
}

HRESULT IDirect3DDevice9::BeginScene()
{
    if (lostUntilReset_) {
        return D3DERR_DEVICELOST;
    }
    if (state_.inScene) {
        return Refuse(Op::BeginScene, FrontCheck::SceneOpen);
    }
    const HRESULT hr = driver_->BeginScene();
    state_.inScene = SUCCEEDED(hr);
    return hr;
}

HRESULT IDirect3DDevice9::EndScene()
{
    if (lostUntilReset_) {
        return D3DERR_DEVICELOST;
    }
    if (!state_.inScene) {
        return Refuse(Op::EndScene, FrontCheck::SceneNotOpen);
    }
    const HRESULT hr = driver_->EndScene();
    if (SUCCEEDED(hr)) {
        state_.inScene = false;
    }
    return hr;
}

HRESULT IDirect3DDevice9::Present(const RECT* pSourceRect, const RECT* pDestRect, HWND hDestWindowOverride,
                                  const RGNDATA* pDirtyRegion)
{
    if (lostUntilReset_) {
        return D3DERR_DEVICELOST;
    }
    if (state_.inScene) {
        return Refuse(Op::Present, FrontCheck::SceneOpen);
    }
    if (pSourceRect || pDestRect || hDestWindowOverride || pDirtyRegion) {
        return Refuse(Op::Present, FrontCheck::PresentArguments);
    }
    return driver_->Present(pSourceRect, pDestRect, hDestWindowOverride, pDirtyRegion);
}

HRESULT IDirect3DDevice9::Reset(D3DPRESENT_PARAMETERS* pPresentationParameters)
{
    if (!pPresentationParameters) {
        return Refuse(Op::Reset, FrontCheck::NullPointer);
    }
    if (const auto failed = CheckPresentParameters(*pPresentationParameters)) {
        return Refuse(Op::Reset, *failed);
    }
    if (ReferencedDefaultPoolResources()) {
        return Refuse(Op::Reset, FrontCheck::ResourcesReferenced);
    }
    UnbindAll();
    // The backend re-attaches the back buffer; until it has, nothing may reach the old storage.
    backBuffer_->Backend().Detach();
    backBuffer_->Redescribe(BackBufferDesc(*pPresentationParameters));
    const HRESULT hr = driver_->Reset(pPresentationParameters);
    lostUntilReset_ = FAILED(hr);
    if (SUCCEEDED(hr)) {
        presentParameters_ = *pPresentationParameters;
        BindBackBuffer();
        SetInitialRenderStates();
    }
    return hr;
}

HRESULT IDirect3DDevice9::Refuse(Op op, FrontCheck check, std::string detail)
{
    return refusals_.Refuse(*driver_, FrontRefusal{OpName(op), op, check, std::move(detail)});
}

HRESULT IDirect3DDevice9::Refuse(const char* call, FrontCheck check)
{
    return refusals_.Refuse(*driver_, FrontRefusal{call, std::nullopt, check, {}});
}
