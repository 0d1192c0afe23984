// Setting one parameter through the engine (DXEffectHandler::Set...BySemantic: the active effect,
// its semantic cache, the effect's setter) against the effect's own setter through a handle found
// beforehand, on the Recorder and on GL. A value reaches the device only at the next BeginPass or
// CommitChanges, so both backends should give the same figures; a gap would mean a driver works
// at set time.
#include "BenchDevice.h"
#include "BenchEffectEngine.h"
#include "BenchObjectEffect.h"
#include "BenchRun.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <stdexcept>
#include <string>

namespace {

constexpr UINT Width = 256;
constexpr UINT Height = 256;

const D3DXVECTOR4 Tint{1.0f, 0.5f, 0.25f, 1.0f};

D3DXMATRIX LightMatrix()
{
    D3DXMATRIX matrix;
    D3DXMatrixTranslation(&matrix, 0.25f, -0.5f, 2.0f);
    return matrix;
}

// The effect on a device of the backend, with its semantic cache as a frame of the show leaves it:
// the show asks for the same semantics every frame, so after the first every lookup is a hit.
template <class Measure>
void WithEffect(benchmark::State& state, BenchBackend backend, Measure measure)
{
    SkipOnFailure(state, [&] {
        const BenchDevice device(backend, Width, Height);
        const BenchEffectEngine engine(device.Device(), ObjectEffectFile, CompiledObjectEffect(), "Default");
        DXEffect& effect = engine.Active();
        for (const std::string& semantic : ObjectEffectSemantics())
            if (!effect.GetHandleBySemantic(semantic))
                throw std::runtime_error(ObjectEffectFile + " has no parameter " + semantic);
        measure(*effect.effect);
    });
}

// A set that the effect drops (an unknown semantic, a refused value) would measure nothing: each
// benchmark reads its value back once before the loop.
void CheckVector(ID3DXEffect& effect, const char* semantic)
{
    D3DXVECTOR4 value;
    if (FAILED(effect.GetVector(effect.GetParameterBySemantic(nullptr, semantic), &value)) || value.x != Tint.x ||
        value.y != Tint.y || value.z != Tint.z || value.w != Tint.w)
        throw std::runtime_error(std::string("the value set by ") + semantic + " did not reach the effect");
}

void CheckMatrix(ID3DXEffect& effect, const char* semantic)
{
    D3DXMATRIX value;
    const D3DXMATRIX expected = LightMatrix();
    if (FAILED(effect.GetMatrix(effect.GetParameterBySemantic(nullptr, semantic), &value)) ||
        !std::equal(&value.m[0][0], &value.m[0][0] + 16, &expected.m[0][0]))
        throw std::runtime_error(std::string("the matrix set by ") + semantic + " did not reach the effect");
}

void SetVec4Engine(benchmark::State& state, BenchBackend backend)
{
    WithEffect(state, backend, [&](ID3DXEffect& effect) {
        const float values[4] = {Tint.x, Tint.y, Tint.z, Tint.w};
        DXEffectHandler::SetVec4BySemantic("TINT", values);
        CheckVector(effect, "TINT");
        // A literal, as the engine's callers pass one: making the std::string is part of the path.
        for (auto _ : state)
            DXEffectHandler::SetVec4BySemantic("TINT", values);
    });
}

void SetVec4Raw(benchmark::State& state, BenchBackend backend)
{
    WithEffect(state, backend, [&](ID3DXEffect& effect) {
        const D3DXHANDLE tint = effect.GetParameterBySemantic(nullptr, "TINT");
        effect.SetVector(tint, &Tint);
        CheckVector(effect, "TINT");
        for (auto _ : state)
            benchmark::DoNotOptimize(effect.SetVector(tint, &Tint));
    });
}

void SetMatrixEngine(benchmark::State& state, BenchBackend backend)
{
    WithEffect(state, backend, [&](ID3DXEffect& effect) {
        const D3DXMATRIX light = LightMatrix();
        DXEffectHandler::SetMatrixBySemantic("LIGHTVIEWPROJ", &light);
        CheckMatrix(effect, "LIGHTVIEWPROJ");
        for (auto _ : state)
            DXEffectHandler::SetMatrixBySemantic("LIGHTVIEWPROJ", &light);
    });
}

void SetMatrixRaw(benchmark::State& state, BenchBackend backend)
{
    WithEffect(state, backend, [&](ID3DXEffect& effect) {
        const D3DXMATRIX light = LightMatrix();
        const D3DXHANDLE handle = effect.GetParameterBySemantic(nullptr, "LIGHTVIEWPROJ");
        effect.SetMatrix(handle, &light);
        CheckMatrix(effect, "LIGHTVIEWPROJ");
        for (auto _ : state)
            benchmark::DoNotOptimize(effect.SetMatrix(handle, &light));
    });
}

} // namespace

BENCHMARK_CAPTURE(SetVec4Engine, Recorder, BenchBackend::Recorder)
    ->Name("EffectSetVec4/engine/Recorder")
    ->Apply(RepeatForMedian);
BENCHMARK_CAPTURE(SetVec4Raw, Recorder, BenchBackend::Recorder)
    ->Name("EffectSetVec4/raw/Recorder")
    ->Apply(RepeatForMedian);
BENCHMARK_CAPTURE(SetVec4Engine, GL, BenchBackend::GL)
    ->Name("EffectSetVec4/engine/GL")
    ->Apply(RepeatForMedian);
BENCHMARK_CAPTURE(SetVec4Raw, GL, BenchBackend::GL)
    ->Name("EffectSetVec4/raw/GL")
    ->Apply(RepeatForMedian);
BENCHMARK_CAPTURE(SetMatrixEngine, Recorder, BenchBackend::Recorder)
    ->Name("EffectSetMatrix/engine/Recorder")
    ->Apply(RepeatForMedian);
BENCHMARK_CAPTURE(SetMatrixRaw, Recorder, BenchBackend::Recorder)
    ->Name("EffectSetMatrix/raw/Recorder")
    ->Apply(RepeatForMedian);
BENCHMARK_CAPTURE(SetMatrixEngine, GL, BenchBackend::GL)
    ->Name("EffectSetMatrix/engine/GL")
    ->Apply(RepeatForMedian);
BENCHMARK_CAPTURE(SetMatrixRaw, GL, BenchBackend::GL)
    ->Name("EffectSetMatrix/raw/GL")
    ->Apply(RepeatForMedian);
