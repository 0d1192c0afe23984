// The archive directory and every entry's zlib stream. The input becomes "basefile.dat" in a
// private working directory; a corrupt archive or stream must end in FrameworkEx, never in a read
// outside the archive or outside the caller's buffer of exactly GetSize bytes.
#include "Framework/FileSys/ArchiveWriter.h"
#include "Framework/FileSys/FileSys.h"
#include "Framework/FrameworkEx.h"
#include "FuzzCheck.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr size_t MaxInput = 64 * 1024;

std::filesystem::path workDirectory;

void RemoveWorkDirectory()
{
    std::error_code ignored;
    std::filesystem::remove_all(workDirectory, ignored);
}

// The fuzzer runs in its own directory, so the paths it is given (corpus folders, inputs to
// replay, artifact and dictionary paths) are made absolute first, and crash artifacts land where
// it was started instead of in the directory removed at exit.
std::vector<std::string> AnchoredArguments(int argc, char** argv, const std::filesystem::path& startDirectory)
{
    static const std::string pathFlags[] = {"-artifact_prefix=", "-exact_artifact_path=", "-dict=",
                                            "-merge_control_file="};
    auto anchored = [&](const std::string& path) {
        return path.empty() || path.front() == '/' ? path : (startDirectory / path).string();
    };
    std::vector<std::string> arguments{argv[0]};
    bool artifactPrefix = false;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (argument.empty() || argument.front() != '-') {
            argument = anchored(argument);
        } else {
            for (const std::string& flag : pathFlags)
                if (argument.starts_with(flag)) {
                    argument = flag + anchored(argument.substr(flag.size()));
                    artifactPrefix |= flag == "-artifact_prefix=";
                }
        }
        arguments.push_back(argument);
    }
    if (!artifactPrefix)
        arguments.push_back("-artifact_prefix=" + startDirectory.string() + "/");
    return arguments;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static std::vector<std::string> arguments;
    static std::vector<char*> pointers;
    const std::filesystem::path startDirectory = std::filesystem::current_path();
    arguments = AnchoredArguments(*argc, *argv, startDirectory);
    for (std::string& argument : arguments)
        pointers.push_back(argument.data());
    pointers.push_back(nullptr);
    *argc = static_cast<int>(arguments.size());
    *argv = pointers.data();

    std::string pattern = (std::filesystem::temp_directory_path() / "ql-fuzz-archive-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        std::perror("fuzz_archive: mkdtemp");
        std::abort();
    }
    workDirectory = pattern;
    std::filesystem::current_path(workDirectory);
    std::atexit(RemoveWorkDirectory);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > MaxInput)
        return 0;
    WriteWholeFile(FileSys::ArchivePath, std::vector<unsigned char>(data, data + size));

    std::unique_ptr<FileSys> fileSys;
    try {
        fileSys = std::make_unique<FileSys>();
    } catch (const FrameworkEx&) {
        FuzzCheck(FileSys::Instance() == nullptr, "a refused archive leaves no FileSys instance behind");
        return 0;
    }

    for (const auto& [name, entry] : fileSys->Directory()) {
        const uint32_t entrySize = fileSys->GetSize(name);
        FuzzCheck(entrySize == entry.unpackedSize, "GetSize reports the directory's unpacked size");
        FuzzCheck(entrySize <= FileSys::MaxUnpackedSize, "no entry claims more than an entry may hold");
        FuzzCheck(uint64_t(entry.offset) + entry.packedSize <= size, "every entry's data lies inside the archive");
        // Exactly GetSize bytes, uninitialised, so that any write past the end is caught.
        std::unique_ptr<unsigned char[]> buffer(new unsigned char[entrySize]);
        try {
            FuzzCheck(fileSys->ReadFile(name, buffer.get()) == entrySize, "ReadFile returns the unpacked size");
        } catch (const FrameworkEx&) {
            // A stream that does not inflate to exactly the claimed size.
        }
    }
    return 0;
}
