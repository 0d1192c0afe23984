// One frame of the box scene's particle dance on the Recorder, Update (grid, motion, separation,
// walls, centres) then SortParticles, against a plain all-pairs neighbour loop over the same 2500
// positions: what the grid saves over testing every pair. Both start from a swarm that has
// danced for five seconds, gathered around the attractor as it is in the show.
#include "BenchArchive.h"
#include "BenchDevice.h"
#include "BenchRun.h"

#include "Framework/DXFramework.h"
#include "Framework/FileSys/ArchiveWriter.h"
#include "Framework/Noise/CrtRand.h"
#include "Framework/Timer/DemoSyncTimer.h"
#include "Framework/Timer/Timer.h"
#include "Modules/ParticleDance/ParticleDance.h"
#include "sync/device.h"
#include "sync/trackfile.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <stdexcept>
#include <vector>

namespace {

constexpr double FrameSeconds = 1.0 / 60.0;
constexpr int SettleFrames = 300;

// Steady tracks of the kind the box scene uses: a firm pull, a moderate fall-off, light gravity.
std::vector<unsigned char> DanceArchive()
{
    ArchiveWriter writer;
    writer.Add("Data\\sync_Box_force.track", EncodeTrackRecords({{0, 4.0f, 0}}));
    writer.Add("Data\\sync_Box_dieoff.track", EncodeTrackRecords({{0, 1.0f, 0}}));
    writer.Add("Data\\sync_Box_gravitation.track", EncodeTrackRecords({{0, 0.5f, 0}}));
    return writer.Build();
}

// The module on a Recorder device with its tracks, loaded and settled; the engine finds the device
// where it looks for it for as long as this lives.
class SettledDance {
public:
    SettledDance() : device(BenchBackend::Recorder, 64, 64)
    {
        {
            const MountedArchive archive(DanceArchive());
            sync = createSyncDevice("sync", &syncTimer);
            if (!sync)
                throw std::runtime_error("no sync device");
            CrtRand::srand(1);
            dance = std::make_unique<ParticleDance>("ParticleDance", *sync);
        }
        DXFramework::device = &device.Device();
        try {
            dance->Load();
            Timer::SetFrameClock(0.0, FrameSeconds);
            for (int frame = 0; frame < SettleFrames; ++frame)
                Frame();
        } catch (...) {
            dance.reset();
            DXFramework::device = nullptr;
            throw;
        }
    }
    ~SettledDance()
    {
        dance.reset();
        DXFramework::device = nullptr;
    }
    SettledDance(const SettledDance&) = delete;
    SettledDance& operator=(const SettledDance&) = delete;

    // The box scene's per-frame calls, at the next frame of the show clock.
    void Frame()
    {
        const double next = Timer::GetElapsed() + FrameSeconds;
        Timer::SetFrameClock(next < DXFramework::ShowEndTime ? next : 0.0, Timer::GetDelta());
        dance->Update();
        dance->SortParticles();
    }

    const std::vector<D3DXVECTOR3>& Positions() const { return dance->positions; }

private:
    BenchDevice device;
    DemoSyncTimer syncTimer;
    std::unique_ptr<SyncDevice> sync;
    std::unique_ptr<ParticleDance> dance;
};

void UpdateAndSort(benchmark::State& state)
{
    SkipOnFailure(state, [&] {
        SettledDance dance;
        for (auto _ : state)
            dance.Frame();
        state.SetItemsProcessed(state.iterations() * ParticleDance::count);
    });
}

// Every pair tested once from each side, with the separation's distance test and push, summed
// rather than applied so that every iteration sees the same positions.
void AllPairs(benchmark::State& state)
{
    SkipOnFailure(state, [&] {
        const std::vector<D3DXVECTOR3> positions = SettledDance().Positions();
        constexpr float radius = ParticleDance::InteractionRadius;
        int64_t pairs = 0;
        for (auto _ : state) {
            pairs = 0;
            D3DXVECTOR3 push{};
            for (size_t i = 0; i < positions.size(); ++i)
                for (size_t j = 0; j < positions.size(); ++j) {
                    const float x = positions[i].x - positions[j].x;
                    const float y = positions[i].y - positions[j].y;
                    const float z = positions[i].z - positions[j].z;
                    const float e = std::sqrt(x * x + y * y + z * z);
                    if (i == j || !(e > 0.0f && e < radius))
                        continue;
                    ++pairs;
                    push.x += x * (radius - e) / e;
                    push.y += y * (radius - e) / e;
                    push.z += z * (radius - e) / e;
                }
            benchmark::DoNotOptimize(push);
        }
        state.counters["close pairs"] = static_cast<double>(pairs / 2);
        state.SetItemsProcessed(state.iterations() * ParticleDance::count);
    });
}

} // namespace

BENCHMARK(UpdateAndSort)->Name("ParticleDance/UpdateAndSort")->Unit(benchmark::kMicrosecond)->Apply(RepeatForMedian);
BENCHMARK(AllPairs)->Name("ParticleDance/AllPairs")->Unit(benchmark::kMicrosecond)->Apply(RepeatForMedian);
