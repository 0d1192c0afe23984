// Drawing one object through the engine, DXEffectHandler::DrawObject(world, previousWorld, draw)
// of a small indexed triangle list with the object effect's one technique of one pass, against
// the same done by hand on the ID3DXEffect: Begin, BeginPass, the object's LOCALVIEWPROJ set
// through a handle, CommitChanges, the draw, EndPass, End. On the Recorder and on GL.
#include "BenchDevice.h"
#include "BenchEffectEngine.h"
#include "BenchObjectEffect.h"
#include "BenchRun.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>

namespace {

constexpr UINT Width = 256;
constexpr UINT Height = 256;

// Draws go in frames of this many: BeginScene, the draws, EndScene, Present. On GL a draw only
// queues work for the driver; Present's blit of the back buffer into the window must wait for
// everything drawn into it, so presenting every DrawsPerFrame draws puts the driver's own work
// for them into the figure, as a frame of the show would (on llvmpipe a glFinish after Present
// adds nothing measurable). The Recorder keeps the same cadence so that its figures compare.
constexpr int DrawsPerFrame = 100;

void Check(HRESULT result, const char* call)
{
    if (FAILED(result))
        throw std::runtime_error(std::string(call) + " failed with " + std::to_string(result));
}

// Two triangles of a unit square, bound to the device for the benchmark's length.
class Square {
public:
    explicit Square(IDirect3DDevice9& device) : device(device)
    {
        try {
            const float corners[] = {-1, -1, 0, 1, -1, 0, -1, 1, 0, 1, 1, 0};
            const uint16_t order[] = {0, 1, 2, 2, 1, 3};
            Check(device.CreateVertexBuffer(sizeof corners, 0, 0, D3DPOOL_MANAGED, &vertices, nullptr),
                  "CreateVertexBuffer");
            Check(device.CreateIndexBuffer(sizeof order, 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &indices, nullptr),
                  "CreateIndexBuffer");
            void* bytes = nullptr;
            Check(vertices->Lock(0, 0, &bytes, 0), "IDirect3DVertexBuffer9::Lock");
            std::memcpy(bytes, corners, sizeof corners);
            vertices->Unlock();
            Check(indices->Lock(0, 0, &bytes, 0), "IDirect3DIndexBuffer9::Lock");
            std::memcpy(bytes, order, sizeof order);
            indices->Unlock();
            const D3DVERTEXELEMENT9 elements[] = {
                {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0}, D3DDECL_END()};
            Check(device.CreateVertexDeclaration(elements, &declaration), "CreateVertexDeclaration");
            Check(device.SetVertexDeclaration(declaration), "SetVertexDeclaration");
            Check(device.SetStreamSource(0, vertices, 0, 3 * sizeof(float)), "SetStreamSource");
            Check(device.SetIndices(indices), "SetIndices");
        } catch (...) {
            Release();
            throw;
        }
    }
    ~Square() { Release(); }
    Square(const Square&) = delete;
    Square& operator=(const Square&) = delete;

    HRESULT Draw() { return device.DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 4, 0, 2); }

private:
    void Release()
    {
        device.SetIndices(nullptr);
        device.SetStreamSource(0, nullptr, 0, 0);
        device.SetVertexDeclaration(nullptr);
        for (Unknown* object : {static_cast<Unknown*>(vertices), static_cast<Unknown*>(indices),
                                static_cast<Unknown*>(declaration)})
            if (object)
                object->Release();
        vertices = nullptr;
        indices = nullptr;
        declaration = nullptr;
    }

    IDirect3DDevice9& device;
    IDirect3DVertexBuffer9* vertices = nullptr;
    IDirect3DIndexBuffer9* indices = nullptr;
    IDirect3DVertexDeclaration9* declaration = nullptr;
};

// Opens a scene before the first draw of a frame and ends and presents the frame after its last.
class Frames {
public:
    explicit Frames(IDirect3DDevice9& device) : device(device) {}
    // A benchmark that stops mid-frame leaves the scene ended.
    ~Frames()
    {
        if (drawn > 0)
            device.EndScene();
    }
    Frames(const Frames&) = delete;
    Frames& operator=(const Frames&) = delete;

    void BeforeDraw()
    {
        if (drawn == 0)
            Check(device.BeginScene(), "BeginScene");
    }
    void AfterDraw()
    {
        if (++drawn < DrawsPerFrame)
            return;
        drawn = 0;
        Check(device.EndScene(), "EndScene");
        Check(device.Present(nullptr, nullptr, nullptr, nullptr), "Present");
    }

private:
    IDirect3DDevice9& device;
    int drawn = 0;
};

// A 16 x 16 pixel square near the middle of the back buffer: the draws cost the runtime's work
// and little filling.
D3DXMATRIX World()
{
    D3DXMATRIX scale;
    D3DXMATRIX move;
    D3DXMATRIX world;
    D3DXMatrixScaling(&scale, 16.0f / Width, 16.0f / Height, 1.0f);
    D3DXMatrixTranslation(&move, 0.125f, -0.125f, 0.5f);
    return *D3DXMatrixMultiply(&world, &scale, &move);
}

template <class Measure>
void WithScene(benchmark::State& state, BenchBackend backend, Measure measure)
{
    SkipOnFailure(state, [&] {
        const BenchDevice device(backend, Width, Height);
        const BenchEffectEngine engine(device.Device(), ObjectEffectFile, CompiledObjectEffect(), "Default");
        Square square(device.Device());
        Frames frames(device.Device());
        // The first draw of a program makes llvmpipe compile its shaders to machine code, which
        // belongs to start-up rather than to a draw: one frame goes before the clock starts.
        for (int draw = 0; draw < DrawsPerFrame; ++draw) {
            frames.BeforeDraw();
            DXEffectHandler::DrawObject(World(), World(), [&] { Check(square.Draw(), "DrawIndexedPrimitive"); });
            frames.AfterDraw();
        }
        measure(engine.Active(), square, frames);
        state.counters["draws/frame"] = DrawsPerFrame;
    });
}

void DrawObjectEngine(benchmark::State& state, BenchBackend backend)
{
    WithScene(state, backend, [&](DXEffect& effect, Square& square, Frames& frames) {
        if (!effect.LOCALVIEWPROJ)
            throw std::runtime_error(ObjectEffectFile + " has no LOCALVIEWPROJ");
        const D3DXMATRIX world = World();
        // DrawObject passes over a pass that fails to begin: only draws that were made and
        // succeeded show that the figure is the whole path.
        int64_t drawn = 0;
        for (auto _ : state) {
            frames.BeforeDraw();
            DXEffectHandler::DrawObject(world, world, [&] { drawn += SUCCEEDED(square.Draw()) ? 1 : 0; });
            frames.AfterDraw();
        }
        if (drawn != static_cast<int64_t>(state.iterations()))
            throw std::runtime_error("DrawObject made " + std::to_string(drawn) + " good draws of " +
                                     std::to_string(state.iterations()));
    });
}

void DrawObjectRaw(benchmark::State& state, BenchBackend backend)
{
    WithScene(state, backend, [&](DXEffect& engineEffect, Square& square, Frames& frames) {
        ID3DXEffect& effect = *engineEffect.effect;
        const D3DXHANDLE localViewProj = effect.GetParameterBySemantic(nullptr, "LOCALVIEWPROJ");
        if (!localViewProj)
            throw std::runtime_error(ObjectEffectFile + " has no LOCALVIEWPROJ");
        const D3DXMATRIX world = World();
        // The camera DrawObject combines with, identity until a scene sets one.
        D3DXMATRIX viewProjection;
        D3DXMatrixIdentity(&viewProjection);
        D3DXMATRIX product;
        bool succeeded = true;
        for (auto _ : state) {
            frames.BeforeDraw();
            UINT passes = 0;
            const HRESULT results[] = {
                effect.Begin(&passes, 0),
                effect.BeginPass(0),
                effect.SetMatrix(localViewProj, D3DXMatrixMultiply(&product, &world, &viewProjection)),
                effect.CommitChanges(),
                square.Draw(),
                effect.EndPass(),
                effect.End(),
            };
            for (const HRESULT result : results)
                succeeded = succeeded && SUCCEEDED(result);
            frames.AfterDraw();
        }
        if (!succeeded)
            throw std::runtime_error("a call of the hand-made draw failed");
    });
}

} // namespace

BENCHMARK_CAPTURE(DrawObjectEngine, Recorder, BenchBackend::Recorder)
    ->Name("EffectDrawObject/engine/Recorder")
    ->Unit(benchmark::kMicrosecond)
    ->Apply(RepeatForMedian);
BENCHMARK_CAPTURE(DrawObjectRaw, Recorder, BenchBackend::Recorder)
    ->Name("EffectDrawObject/raw/Recorder")
    ->Unit(benchmark::kMicrosecond)
    ->Apply(RepeatForMedian);
BENCHMARK_CAPTURE(DrawObjectEngine, GL, BenchBackend::GL)
    ->Name("EffectDrawObject/engine/GL")
    ->Unit(benchmark::kMicrosecond)
    ->Apply(RepeatForMedian);
BENCHMARK_CAPTURE(DrawObjectRaw, GL, BenchBackend::GL)
    ->Name("EffectDrawObject/raw/GL")
    ->Unit(benchmark::kMicrosecond)
    ->Apply(RepeatForMedian);
