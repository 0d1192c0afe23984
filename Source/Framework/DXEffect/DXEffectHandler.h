// The registry of the show's effects: each registered once under a short name, all in the
// framework's effect pool, one of them active. Drawing and parameter setting go through the active
// effect, with parameters addressed by semantic.
//
// Device resets: the framework destroys the "Global" effect and its pool and makes new ones. A
// destroyed effect leaves the registry (DestroyEffect), so that registering it again loads it
// anew; an effect registered again with another pool than the one it lives in is reloaded into
// that pool (same DXEffect, new effect inside), so that every effect sees the new pool's shared
// values.
#pragma once

#include "Framework/DXEffect/CameraMatrices.h"
#include "Framework/DXEffect/DXEffect.h"
#include "Framework/LiveReload/ReloadHub.h"
#include "Framework/RenderClasses/BASERENDEROBJECT.h"
#include "Framework/Singleton.h"

#include <functional>
#include <map>
#include <memory>
#include <string>

class DXEffectHandler : public Singleton<DXEffectHandler> {
public:
    DXEffectHandler();
    ~DXEffectHandler();

    // Creates and loads the effect unless the name is taken (see above for another pool).
    void AddEffect(const std::string& name, const std::string& fileName, ID3DXEffectPool* pool);
    DXEffect* GetEffect(const std::string& name) const;
    // Destroys the effect and forgets its name; the active effect becomes null if it was that one.
    void DestroyEffect(const std::string& name);
    // Loads the effect again from its file, with its textures, into the pool it lives in; the
    // DXEffect stays the same object and keeps its technique. When the load fails (FrameworkEx)
    // the effect keeps what it had.
    void ReloadEffect(const std::string& name);

    // Throws FrameworkEx, listing the registered names, when the name is unknown; the active effect
    // is then null.
    static DXEffect* SetActiveEffect(const std::string& name);
    static DXEffect* GetActiveEffect() { return activeEffect; }
    static void SetTechnique(const std::string& name);

    // On the active effect; FrameworkEx "[DXEffectHandler::<name>] No effect set" without one. A
    // semantic the effect lacks is ignored.
    static void SetFloatBySemantic(const std::string& semantic, float value);
    static void SetVec2BySemantic(const std::string& semantic, const float* values);
    static void SetVec3BySemantic(const std::string& semantic, const float* values);
    static void SetVec4BySemantic(const std::string& semantic, const float* values);
    // Always 48 floats.
    static void SetFloatArrayBySemantic(const std::string& semantic, const float* values);
    static void SetMatrixBySemantic(const std::string& semantic, const D3DXMATRIX* matrix);
    static void SetTextureBySemantic(const std::string& semantic, IDirect3DBaseTexture9* texture);

    // The camera whose matrices DrawObject combines with the object's; the scene's per-frame pass
    // sets it from its active camera. Identity matrices until then.
    static void SetCamera(const CameraMatrices& camera) { cameraMatrices = camera; }

    // Sets the object matrices on the active effect and runs draw inside every pass of its current
    // technique. Throws FrameworkEx "[DXEffectHandler::DrawObject] No effect set" without one.
    static void DrawObject(const D3DXMATRIX& world, const D3DXMATRIX& previousWorld, const std::function<void()>& draw);
    // A render object: its worldMatrix, previousWorldMatrix and Draw.
    static void DrawObject(BASERENDEROBJECT& object);

private:
    static DXEffect& Active(const char* operation);

    std::map<std::string, std::unique_ptr<DXEffect>> effects;
    // Loads effect from fileName and, in a maker's run, watches every file the load read (the
    // compiled effect, its includes, its textures).
    void LoadWatched(const std::string& name, DXEffect& effect, const std::string& fileName, ID3DXEffectPool* pool);

    // The file each effect was loaded from, for a reload into another pool.
    std::map<std::string, std::string> fileNames;
    std::map<std::string, ReloadHub::Subscription> reloads;

    static inline DXEffect* activeEffect = nullptr;
    static inline CameraMatrices cameraMatrices;
};
