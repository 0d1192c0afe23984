// Reading a 2 MiB archive entry through FileSys::ReadFile against the least a reader must do for
// the same bytes: open, seek, fread the packed stream, close, uncompress.
#include "Framework/FileSys/ArchiveWriter.h"
#include "Framework/FileSys/FileSys.h"

#include <benchmark/benchmark.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
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

// "basefile.dat" with the entry, in a directory of its own that is the working directory while the
// benchmarks run (FileSys opens the archive by its bare name) and is removed at exit.
class MountedArchive {
public:
    MountedArchive()
    {
        previous = std::filesystem::current_path();
        std::string pattern = (std::filesystem::temp_directory_path() / "ql-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            std::perror("ql_bench: mkdtemp");
            std::exit(1);
        }
        directory = pattern;
        std::filesystem::current_path(directory);
        ArchiveWriter writer;
        writer.Add(EntryName, CompressibleBytes());
        WriteWholeFile(FileSys::ArchivePath, writer.Build());
        fileSys = std::make_unique<FileSys>();
    }

    ~MountedArchive()
    {
        fileSys.reset();
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(directory);
    }

    std::unique_ptr<FileSys> fileSys;

private:
    std::filesystem::path previous, directory;
};

MountedArchive& Archive()
{
    static MountedArchive archive;
    return archive;
}

void FileSysReadBench(benchmark::State& state)
{
    const FileSys& fileSys = *Archive().fileSys;
    std::vector<unsigned char> destination(fileSys.GetSize(EntryName));
    for (auto _ : state) {
        benchmark::DoNotOptimize(fileSys.ReadFile(EntryName, destination.data()));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * int64_t(destination.size()));
}

void RawReadBench(benchmark::State& state)
{
    const FileSys::Entry& entry = Archive().fileSys->Directory().at(EntryName);
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
