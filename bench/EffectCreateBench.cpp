// Creating the 500-line effect from its compiled form with D3DXCreateEffect, in an effect pool as
// the engine creates every effect, and releasing it, on the Recorder and on GL. On the Recorder
// creation is the runtime's own work (the compiled form read, the parameters and the pool's shared
// values set up); on GL it also compiles and links the program of each of the twelve passes, which
// is the figure that counts for the show's start-up. Mesa keeps linked programs in its shader
// cache; main() turns the cache off unless MESA_SHADER_CACHE_DISABLE says otherwise, so that each
// creation compiles as a first start-up does.
//
// Each benchmark times one half of the pair and pauses the clock around the other; pausing costs
// about a microsecond, part of which lands in the figure (it matters only for the Recorder's
// release).
#include "BenchDevice.h"
#include "BenchEffectSource.h"
#include "BenchRun.h"

#include "Platform/Fx/D3DXCreateEffect.h"

#include <benchmark/benchmark.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr UINT Width = 256;
constexpr UINT Height = 256;

class Pool {
public:
    Pool()
    {
        if (FAILED(D3DXCreateEffectPool(&pool)))
            throw std::runtime_error("D3DXCreateEffectPool failed");
    }
    ~Pool() { pool->Release(); }
    Pool(const Pool&) = delete;
    Pool& operator=(const Pool&) = delete;

    ID3DXEffectPool* Get() const { return pool; }

private:
    ID3DXEffectPool* pool = nullptr;
};

// The device, the pool and the compiled effect of one benchmark.
struct Creation {
    IDirect3DDevice9& device;
    ID3DXEffectPool* pool;
    std::vector<unsigned char> compiled;

    // Throws with the effect's messages when creation fails, so that a refused effect is not
    // measured as a fast one.
    ID3DXEffect* Create() const
    {
        ID3DXEffect* effect = nullptr;
        ID3DXBuffer* messages = nullptr;
        const HRESULT result = D3DXCreateEffect(&device, compiled.data(), static_cast<UINT>(compiled.size()), nullptr,
                                                nullptr, 0, pool, &effect, &messages);
        const std::string text(BufferText(messages));
        if (messages)
            messages->Release();
        if (FAILED(result))
            throw std::runtime_error("D3DXCreateEffect failed with " + std::to_string(result) + ": " + text);
        return effect;
    }
};

template <class Measure>
void WithCreation(benchmark::State& state, BenchBackend backend, Measure measure)
{
    SkipOnFailure(state, [&] {
        const BenchDevice device(backend, Width, Height);
        const Pool pool;
        measure(Creation{device.Device(), pool.Get(), CompiledBenchEffect()});
    });
}

void CreateBench(benchmark::State& state, BenchBackend backend)
{
    WithCreation(state, backend, [&](const Creation& creation) {
        for (auto _ : state) {
            ID3DXEffect* effect = creation.Create();
            state.PauseTiming();
            effect->Release();
            state.ResumeTiming();
        }
        state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * creation.compiled.size()));
    });
}

void ReleaseBench(benchmark::State& state, BenchBackend backend)
{
    WithCreation(state, backend, [&](const Creation& creation) {
        for (auto _ : state) {
            state.PauseTiming();
            ID3DXEffect* effect = creation.Create();
            state.ResumeTiming();
            effect->Release();
        }
    });
}

} // namespace

BENCHMARK_CAPTURE(CreateBench, Recorder, BenchBackend::Recorder)
    ->Name("EffectCreate/500lines/Recorder")
    ->Unit(benchmark::kMicrosecond)
    ->Apply(RepeatForMedian);
BENCHMARK_CAPTURE(CreateBench, GL, BenchBackend::GL)
    ->Name("EffectCreate/500lines/GL")
    ->Unit(benchmark::kMillisecond)
    ->Apply(RepeatForMedian);
BENCHMARK_CAPTURE(ReleaseBench, Recorder, BenchBackend::Recorder)
    ->Name("EffectRelease/500lines/Recorder")
    ->Unit(benchmark::kMicrosecond)
    ->Apply(RepeatForMedian);
BENCHMARK_CAPTURE(ReleaseBench, GL, BenchBackend::GL)
    ->Name("EffectRelease/500lines/GL")
    ->Unit(benchmark::kMicrosecond)
    ->Apply(RepeatForMedian);
