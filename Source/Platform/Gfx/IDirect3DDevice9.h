// The device: Direct3D 9's device operations that the show uses, in front of a backend. Every
// method checks its arguments and the device's state as Direct3D does, answers D3DERR_INVALIDCALL
// for a bad one (naming the check: LastRefusal), and only then calls the backend. The device keeps
// what is bound (DeviceState), its back buffer and the list of its live resources.
//
// After a Reset that the backend failed, the device stays lost: everything but Reset answers
// D3DERR_DEVICELOST (TestCooperativeLevel: D3DERR_DEVICENOTRESET) until a Reset succeeds.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "Platform/Gfx/BackendData.h"
#include "Platform/Gfx/DeviceState.h"
#include "Platform/Gfx/GfxTypes.h"
#include "Platform/Gfx/IDirect3DSurface9.h"
#include "Platform/Gfx/ReadBackImage.h"
#include "Platform/Gfx/Refusal.h"
#include "Platform/Gfx/Unknown.h"

class GfxBackend;

class IDirect3DDevice9 : public Unknown {
public:
    // Built by IDirect3D9::CreateDevice from checked present parameters.
    IDirect3DDevice9(IDirect3D9& direct3d, std::shared_ptr<GfxBackend> driver,
                     const D3DPRESENT_PARAMETERS& presentParameters, HWND focusWindow, DWORD behaviorFlags);
    ~IDirect3DDevice9() override;

    HRESULT GetDirect3D(IDirect3D9** ppD3D9);

    // Frame, presentation, loss.
    HRESULT TestCooperativeLevel();
    HRESULT BeginScene();
    HRESULT EndScene();
    // The layer presents the whole back buffer to the device window: every argument must be null.
    HRESULT Present(const RECT* pSourceRect, const RECT* pDestRect, HWND hDestWindowOverride,
                    const RGNDATA* pDirtyRegion);
    // Refused (D3DERR_INVALIDCALL) while callers still reference default-pool resources or the
    // back buffer. Unbinds everything; afterwards render target 0 is the back buffer and the
    // viewport covers it.
    HRESULT Reset(D3DPRESENT_PARAMETERS* pPresentationParameters);

    // Targets, viewport, clears and copies.
    HRESULT Clear(DWORD Count, const D3DRECT* pRects, DWORD Flags, D3DCOLOR Color, float Z, DWORD Stencil);
    HRESULT GetViewport(D3DVIEWPORT9* pViewport);
    HRESULT SetViewport(const D3DVIEWPORT9* pViewport);
    HRESULT GetRenderTarget(DWORD RenderTargetIndex, IDirect3DSurface9** ppRenderTarget);
    // Setting slot 0 also sets the viewport to the whole target, as Direct3D does.
    HRESULT SetRenderTarget(DWORD RenderTargetIndex, IDirect3DSurface9* pRenderTarget);
    HRESULT GetDepthStencilSurface(IDirect3DSurface9** ppZStencilSurface);
    HRESULT SetDepthStencilSurface(IDirect3DSurface9* pNewZStencil);
    HRESULT StretchRect(IDirect3DSurface9* pSourceSurface, const RECT* pSourceRect, IDirect3DSurface9* pDestSurface,
                        const RECT* pDestRect, D3DTEXTUREFILTERTYPE Filter);
    // The pixels of a render target or the back buffer, for a capture or a test: what has been
    // drawn into it so far. Not a Direct3D 9 call (which would copy into a system-memory surface).
    HRESULT ReadRenderTarget(IDirect3DSurface9* pRenderTarget, ReadBackImage* pImage);

    // Resources.
    HRESULT CreateDepthStencilSurface(UINT Width, UINT Height, D3DFORMAT Format, D3DMULTISAMPLE_TYPE MultiSample,
                                      DWORD MultisampleQuality, BOOL Discard, IDirect3DSurface9** ppSurface,
                                      HANDLE* pSharedHandle);
    HRESULT CreateTexture(UINT Width, UINT Height, UINT Levels, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                          IDirect3DTexture9** ppTexture, HANDLE* pSharedHandle);
    HRESULT CreateCubeTexture(UINT EdgeLength, UINT Levels, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                              IDirect3DCubeTexture9** ppCubeTexture, HANDLE* pSharedHandle);
    HRESULT CreateVolumeTexture(UINT Width, UINT Height, UINT Depth, UINT Levels, DWORD Usage, D3DFORMAT Format,
                                D3DPOOL Pool, IDirect3DVolumeTexture9** ppVolumeTexture, HANDLE* pSharedHandle);
    HRESULT CreateVertexBuffer(UINT Length, DWORD Usage, DWORD FVF, D3DPOOL Pool,
                               IDirect3DVertexBuffer9** ppVertexBuffer, HANDLE* pSharedHandle);
    HRESULT CreateIndexBuffer(UINT Length, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                              IDirect3DIndexBuffer9** ppIndexBuffer, HANDLE* pSharedHandle);
    HRESULT CreateVertexDeclaration(const D3DVERTEXELEMENT9* pVertexElements, IDirect3DVertexDeclaration9** ppDecl);

    // Geometry and draws.
    HRESULT SetStreamSource(UINT StreamNumber, IDirect3DVertexBuffer9* pStreamData, UINT OffsetInBytes, UINT Stride);
    HRESULT SetIndices(IDirect3DIndexBuffer9* pIndexData);
    HRESULT SetVertexDeclaration(IDirect3DVertexDeclaration9* pDecl);
    HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE PrimitiveType, INT BaseVertexIndex, UINT MinVertexIndex,
                                 UINT NumVertices, UINT startIndex, UINT primCount);

    // What an effect pass sets (IDirect3DDevice9Effects.cpp). Render states are the effect
    // language's (D3DERR_INVALIDCALL for another state or a value the state does not take); stages
    // run below kMaxTextureStages. The effect driver is the backend's, for one effect's
    // description; messages say why a backend could not make it.
    HRESULT SetRenderState(D3DRENDERSTATETYPE State, DWORD Value);
    HRESULT GetRenderState(D3DRENDERSTATETYPE State, DWORD* pValue);
    HRESULT SetTexture(DWORD Stage, IDirect3DBaseTexture9* pTexture);
    HRESULT GetTexture(DWORD Stage, IDirect3DBaseTexture9** ppTexture);
    HRESULT CreateEffectDriver(const fx::EffectDescription* pDescription, fx::EffectDriver** ppDriver,
                               std::string* pMessages);

    // Refusals: every refused call names the check that refused it (FrontChecks.inc). The last
    // one stays until the next, for callers and tests.
    const std::optional<FrontRefusal>& LastRefusal() const { return refusals_.Last(); }
    // Refuses a call of the operation, or of a front-only method (a getter) by name, and returns
    // the code the call answers. Resources refuse through their device; the GL backend refuses a
    // draw or clear into a framebuffer it cannot complete, with what it found as the detail.
    HRESULT Refuse(Op op, FrontCheck check, std::string detail = {});
    HRESULT Refuse(const char* call, FrontCheck check);

    // For backends and resources.
    GfxBackend& Driver() const { return *driver_; }
    BackendSlot& Backend() { return backend_; }
    const DeviceState& State() const { return state_; }
    IDirect3DSurface9& BackBuffer() const { return *backBuffer_; }
    const D3DPRESENT_PARAMETERS& PresentParameters() const { return presentParameters_; }
    HWND FocusWindow() const { return focusWindow_; }
    DWORD BehaviorFlags() const { return behaviorFlags_; }
    // The top-level resources alive on this device, in creation order.
    const std::vector<IDirect3DResource9*>& Resources() const { return resources_; }
    void RegisterResource(IDirect3DResource9& resource);
    void UnregisterResource(IDirect3DResource9& resource);

protected:
    Unknown* OnLastCallerGone() override;

private:
    bool Owns(const DeviceChild* object) const;
    bool ReferencedDefaultPoolResources() const;
    void UnbindAll();
    void BindBackBuffer();
    // A new device's render states, which a Reset brings back (the backend does the same).
    void SetInitialRenderStates();
    // Takes a new object built by a creation method to the backend; on failure discards it.
    template <class T, class Create>
    HRESULT Realise(T* object, T** out, Create create);

    IDirect3D9& direct3d_;
    std::shared_ptr<GfxBackend> driver_;
    BackendSlot backend_;
    D3DPRESENT_PARAMETERS presentParameters_;
    HWND focusWindow_;
    DWORD behaviorFlags_;
    std::unique_ptr<IDirect3DSurface9> backBuffer_;
    DeviceState state_;
    // Render states by number (only the effect language's are ever set or read).
    std::array<DWORD, 256> renderStates_{};
    std::vector<IDirect3DResource9*> resources_;
    RefusalRecord refusals_;
    bool lostUntilReset_ = false;
};
