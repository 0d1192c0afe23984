// Reading a 2 MiB archive entry through FileSys::ReadFile against the least a reader must do for
// the same bytes: open, seek, fread the packed stream, close, uncompress.
#include "BenchArchive.h"

#include "Framework/FileSys/ArchiveWriter.h"
#include "Framework/FileSys/FileSys.h"

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

const std::string EntryName = "Data\\bench.bin";
constexpr size_t EntrySize = 2 * 1024 * 1024;

// A slow random walk: the byte-to-byte texture of baked noise, which deflate shrinks to about half.
std::vector<unsigned char> CompressibleBytes()
{
    std::vector<unsigned char> bytes(EntrySize);
    std::mt19937 random(2024);
    int level = 128;
    for (unsigned char& byte : bytes) {
        level = (level + static_cast<int>(random() % 5) - 2) & 0xff;
        byte = static_cast<unsigned char>(level);
    }
    return bytes;
}

// The archive holding the entry, compressed once for the whole run; each benchmark mounts it for
// as long as it runs, since other benchmarks mount archives of their own.
const std::vector<unsigned char>& ArchiveBytes()
{
    static const std::vector<unsigned char> bytes = [] {
        ArchiveWriter writer;
        writer.Add(EntryName, CompressibleBytes());
        return writer.Build();
    }();
    return bytes;
}

void FileSysReadBench(benchmark::State& state)
{
    const MountedArchive archive(ArchiveBytes());
    const FileSys& fileSys = archive.Files();
    std::vector<unsigned char> destination(fileSys.GetSize(EntryName));
    for (auto _ : state) {
        benchmark::DoNotOptimize(fileSys.ReadFile(EntryName, destination.data()));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * int64_t(destination.size()));
}

void RawReadBench(benchmark::State& state)
{
    const MountedArchive mounted(ArchiveBytes());
    const FileSys::Entry& entry = mounted.Files().Directory().at(EntryName);
    std::vector<unsigned char> packed(entry.packedSize);
    std::vector<unsigned char> destination(entry.unpackedSize);
    for (auto _ : state) {
        std::FILE* archive = std::fopen(FileSys::ArchivePath.c_str(), "rb");
        const bool read = archive != nullptr && std::fseek(archive, long(entry.offset), SEEK_SET) == 0 &&
                          std::fread(packed.data(), 1, packed.size(), archive) == packed.size();
        if (archive != nullptr)
            std::fclose(archive);
        if (!read) {
            state.SkipWithError("could not read the archive");
            break;
        }
        uLongf produced = destination.size();
        if (uncompress(destination.data(), &produced, packed.data(), packed.size()) != Z_OK) {
            state.SkipWithError("could not inflate the entry");
            break;
        }
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * int64_t(destination.size()));
}

} // namespace

BENCHMARK(FileSysReadBench)->Name("ReadFile/FileSys")->Unit(benchmark::kMicrosecond);
BENCHMARK(RawReadBench)->Name("ReadFile/raw")->Unit(benchmark::kMicrosecond);
