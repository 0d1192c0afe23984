#include "Demo/TimeControl/ShowStateFile.h"

#include "Framework/FrameworkEx.h"
#include "Modules/ParticleDance/ParticleDance.h"

#include <array>
#include <cstring>
#include <fstream>
#include <vector>

namespace showstates {
namespace {

constexpr char Magic[4] = {'Q', 'L', 'S', 'T'};
constexpr uint32_t Format = 1;

template <typename T>
void Put(std::ostream& out, const T& value)
{
    out.write(reinterpret_cast<const char*>(&value), sizeof(T));
}

template <typename T>
void PutAll(std::ostream& out, const std::vector<T>& values)
{
    out.write(reinterpret_cast<const char*>(values.data()), static_cast<std::streamsize>(values.size() * sizeof(T)));
}

class Reader {
public:
    Reader(std::istream& in, const std::string& name) : in(in), name(name) {}

    template <typename T>
    T Get()
    {
        T value;
        Bytes(&value, sizeof(T));
        return value;
    }

    template <typename T>
    std::vector<T> GetAll(size_t count)
    {
        std::vector<T> values(count);
        Bytes(values.data(), count * sizeof(T));
        return values;
    }

    [[noreturn]] void Fail(const std::string& fault) const { throw FrameworkEx(name + ": " + fault); }

private:
    void Bytes(void* into, size_t size)
    {
        in.read(static_cast<char*>(into), static_cast<std::streamsize>(size));
        if (static_cast<size_t>(in.gcount()) != size)
            Fail("a state is cut short");
    }

    std::istream& in;
    const std::string& name;
};

} // namespace

void WriteHeader(std::ostream& out)
{
    out.write(Magic, sizeof(Magic));
    Put(out, Format);
}

void WriteState(std::ostream& out, const ShowState& state)
{
    Put(out, state.steps);
    Put(out, state.randomState);
    Put(out, state.fieldCount);
    PutAll(out, state.fieldPositions);
    PutAll(out, state.fieldVelocities);
    Put(out, state.fieldSpawnTimer);
    Put(out, state.fieldEmitterCursor);
    Put(out, state.fieldColours);
    Put(out, static_cast<uint32_t>(state.dancePositions.size()));
    PutAll(out, state.dancePositions);
    PutAll(out, state.danceVelocities);
    Put(out, state.filterRects);
    Put(out, state.filterRespawnTimer);
    Put(out, state.filterRespawnCursor);
    Put(out, static_cast<uint8_t>(state.recoloured));
}

void ReadHeader(std::istream& in, const std::string& name)
{
    char magic[sizeof(Magic)] = {};
    in.read(magic, sizeof(magic));
    if (in.gcount() != sizeof(magic) || std::memcmp(magic, Magic, sizeof(Magic)) != 0)
        throw FrameworkEx(name + ": not a file of the show's states");
    Reader reader(in, name);
    if (reader.Get<uint32_t>() != Format)
        reader.Fail("states of another format");
}

std::optional<ShowState> ReadState(std::istream& in, const std::string& name)
{
    if (in.peek() == std::char_traits<char>::eof())
        return std::nullopt;
    Reader reader(in, name);
    ShowState state;
    state.steps = reader.Get<int64_t>();
    if (state.steps < 0)
        reader.Fail("a state before the show's start");
    state.randomState = reader.Get<uint32_t>();
    state.fieldCount = reader.Get<int32_t>();
    if (state.fieldCount < 0 || state.fieldCount > ParticleField::Capacity)
        reader.Fail("a particle count beyond the field's capacity");
    state.fieldPositions = reader.GetAll<D3DXVECTOR3>(static_cast<size_t>(state.fieldCount));
    state.fieldVelocities = reader.GetAll<D3DXVECTOR3>(static_cast<size_t>(state.fieldCount));
    state.fieldSpawnTimer = reader.Get<float>();
    state.fieldEmitterCursor = reader.Get<int>();
    if (state.fieldEmitterCursor < 0 || state.fieldEmitterCursor >= 3)
        reader.Fail("an emitter beyond the field's three");
    state.fieldColours = reader.Get<ParticleColours>();
    if (reader.Get<uint32_t>() != ParticleDance::count)
        reader.Fail("a swarm of another size");
    state.dancePositions = reader.GetAll<D3DXVECTOR3>(ParticleDance::count);
    state.danceVelocities = reader.GetAll<D3DXVECTOR3>(ParticleDance::count);
    state.filterRects = reader.Get<std::array<FilterRect, EasiestFilterEver::RectCount>>();
    state.filterRespawnTimer = reader.Get<float>();
    state.filterRespawnCursor = reader.Get<int>();
    if (state.filterRespawnCursor < 0 || state.filterRespawnCursor >= static_cast<int>(EasiestFilterEver::RectCount))
        reader.Fail("a rectangle beyond the filter's twenty");
    const uint8_t recoloured = reader.Get<uint8_t>();
    if (recoloured > 1)
        reader.Fail("a recolouring that is neither done nor to come");
    state.recoloured = recoloured == 1;
    return state;
}

uint64_t HashFile(const std::string& path, uint64_t seed)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw FrameworkEx(path + ": cannot be read to tell its states apart");
    uint64_t hash = seed ^ 14695981039346656037ull;
    std::vector<char> block(1 << 16);
    while (in) {
        in.read(block.data(), static_cast<std::streamsize>(block.size()));
        for (std::streamsize i = 0; i < in.gcount(); ++i)
            hash = (hash ^ static_cast<unsigned char>(block[static_cast<size_t>(i)])) * 1099511628211ull;
    }
    return hash;
}

} // namespace showstates
