// One frame of the part scenes' particle field on the Recorder with the field full (7000
// particles, after the bursts of the first seconds): UpdateParticles (motion through the flow
// field, centres into the ring) then SortParticles (depth keys, sort, index buffer). Beside it the
// sort alone, against qsort over the same keys with a comparison that calls equal keys "less" both
// ways: what the strict order costs over such a sort.
#include "BenchArchive.h"
#include "BenchDevice.h"
#include "BenchRun.h"

#include "Framework/DXFramework.h"
#include "Framework/FileSys/ArchiveWriter.h"
#include "Framework/Noise/CrtRand.h"
#include "Framework/Scene/CurveFile.h"
#include "Framework/Scene/SpotLight.h"
#include "Framework/Timer/DemoSyncTimer.h"
#include "Framework/Timer/Timer.h"
#include "Modules/ParticleField/ParticleField.h"
#include "sync/device.h"
#include "sync/trackfile.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdlib>
#include <memory>
#include <numeric>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr double FrameSeconds = 1.0 / 60.0;
constexpr int SettleFrames = 300; // five seconds: the field fills in about four

struct EmitterPose {
    const char* name;
    D3DXVECTOR3 translation;
    D3DXVECTOR3 rotation;
};

// Three lights around the field's middle, spraying inwards, as the part scenes place theirs.
constexpr std::array<EmitterPose, 3> Emitters = {{
    {"emitter1", {0.0f, 0.0f, 3.0f}, {0.0f, 0.0f, 0.0f}},
    {"emitter2", {3.0f, 1.0f, 0.0f}, {0.0f, 1.5707964f, 0.0f}},
    {"emitter3", {-2.0f, -1.0f, 0.0f}, {0.4f, -1.5707964f, 0.0f}},
}};

// A flow of moderate strength, and the lights' poses as curves so that they load as the scenes'
// do.
std::vector<unsigned char> FieldArchive()
{
    ArchiveWriter writer;
    writer.Add("Data\\sync_Particles_FieldForce.track", EncodeTrackRecords({{0, 1.5f, 0}}));
    for (const EmitterPose& pose : Emitters) {
        const float values[6] = {pose.translation.x, pose.translation.y, pose.translation.z,
                                 pose.rotation.x,    pose.rotation.y,    pose.rotation.z};
        const char* const channels[6] = {".translateX", ".translateY", ".translateZ", ".rotateX", ".rotateY", ".rotateZ"};
        for (int i = 0; i < 6; ++i)
            writer.Add(std::string("Data\\anim\\") + pose.name + channels[i], EncodeCurveKeys({{0.0f, values[i], 0.0f, 0.0f}}));
    }
    return writer.Build();
}

// A camera at the side of the field looking along -z.
const D3DXMATRIX CameraToWorld = IdentityMatrix();

// The module on a Recorder device with its track and emitters, loaded and filled; the engine finds
// the device where it looks for it for as long as this lives.
class FilledField {
public:
    FilledField() : device(BenchBackend::Recorder, 64, 64), archive(FieldArchive())
    {
        sync = createSyncDevice("sync", &syncTimer);
        if (!sync)
            throw std::runtime_error("no sync device");
        for (size_t i = 0; i < Emitters.size(); ++i)
            lights[i] = std::make_unique<SpotLight>(Emitters[i].name, D3DXVECTOR4{1, 1, 1, 1}, D3DXVECTOR3{}, 1.0f,
                                                    false, 0.6f, 0.0f, D3DXVECTOR3{});
        field = std::make_unique<ParticleField>("ParticleField");
        DXFramework::device = &device.Device();
        try {
            field->Load(*sync);
            for (const auto& light : lights)
                light->update(0.0f);
            Timer::SetFrameClock(0.0, FrameSeconds);
            for (int frame = 0; frame < SettleFrames; ++frame)
                Frame();
            if (field->count != ParticleField::Capacity)
                throw std::runtime_error("the field did not fill: " + std::to_string(field->count));
        } catch (...) {
            field.reset();
            DXFramework::device = nullptr;
            throw;
        }
    }
    ~FilledField()
    {
        field.reset();
        DXFramework::device = nullptr;
    }
    FilledField(const FilledField&) = delete;
    FilledField& operator=(const FilledField&) = delete;

    // The part scenes' per-frame calls, at the next frame of the show clock.
    void Frame()
    {
        const double next = Timer::GetElapsed() + FrameSeconds;
        Timer::SetFrameClock(next < DXFramework::ShowEndTime ? next : 0.0, Timer::GetDelta());
        field->UpdateParticles(*lights[0], *lights[1], *lights[2]);
        field->SortParticles(CameraToWorld);
    }

    ParticleField& Field() { return *field; }

private:
    BenchDevice device;
    MountedArchive archive;
    DemoSyncTimer syncTimer;
    std::unique_ptr<SyncDevice> sync;
    std::array<std::unique_ptr<SpotLight>, 3> lights;
    std::unique_ptr<ParticleField> field;
};

void UpdateAndSort(benchmark::State& state)
{
    SkipOnFailure(state, [&] {
        FilledField field;
        for (auto _ : state)
            field.Frame();
        state.SetItemsProcessed(state.iterations() * ParticleField::Capacity);
    });
}

void Sort(benchmark::State& state)
{
    SkipOnFailure(state, [&] {
        FilledField field;
        for (auto _ : state)
            field.Field().SortParticles(CameraToWorld);
        state.SetItemsProcessed(state.iterations() * ParticleField::Capacity);
    });
}

const float* qsortKeys = nullptr;

int LessOrEqualAsLess(const void* a, const void* b)
{
    return qsortKeys[*static_cast<const int32_t*>(a)] - qsortKeys[*static_cast<const int32_t*>(b)] > 0 ? 1 : -1;
}

// The same keys and the same running order, sorted by qsort; no index buffer is written.
void SortByQsort(benchmark::State& state)
{
    SkipOnFailure(state, [&] {
        FilledField filled;
        ParticleField& field = filled.Field();
        std::vector<int32_t> order(field.sortOrder.begin(), field.sortOrder.begin() + field.count);
        std::vector<float> keys(field.count);
        for (auto _ : state) {
            for (int i = 0; i < field.count; ++i)
                keys[i] = field.positions[i].z;
            qsortKeys = keys.data();
            std::qsort(order.data(), order.size(), sizeof(int32_t), LessOrEqualAsLess);
            benchmark::DoNotOptimize(order.data());
        }
        state.SetItemsProcessed(state.iterations() * ParticleField::Capacity);
    });
}

} // namespace

BENCHMARK(UpdateAndSort)->Name("ParticleField/UpdateAndSort")->Unit(benchmark::kMicrosecond)->Apply(RepeatForMedian);
BENCHMARK(Sort)->Name("ParticleField/Sort")->Unit(benchmark::kMicrosecond)->Apply(RepeatForMedian);
BENCHMARK(SortByQsort)->Name("ParticleField/SortByQsort")->Unit(benchmark::kMicrosecond)->Apply(RepeatForMedian);
