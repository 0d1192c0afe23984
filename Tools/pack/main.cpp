// pack: builds the show's archive from a folder, lists an archive's directory, and extracts an
// archive back into files.
#include "ArchiveListing.h"
#include "CommandLine.h"
#include "ExtractArchive.h"
#include "PackFolder.h"
#include "ToolMain.h"

#include "Framework/FileSys/ArchiveWriter.h"

#include <iostream>

namespace fs = std::filesystem;

namespace {

const ToolInfo Tool{"pack", R"(Usage: pack FOLDER -o ARCHIVE
       pack --list ARCHIVE
       pack --extract ARCHIVE DIR

pack FOLDER -o ARCHIVE
  Builds ARCHIVE from every regular file under FOLDER. An entry is named by the file's path
  relative to FOLDER with backslashes (FOLDER/Data/events/Scenes.txt becomes Data\events\Scenes.txt);
  entries are stored zlib-compressed in byte-wise name order, so the same files always give the
  same archive.
pack --list ARCHIVE
  Prints the directory as the show reads it (the first of two entries with the same name wins),
  one line per entry in name order: NAME UNPACKED-SIZE PACKED-SIZE OFFSET, numbers in decimal,
  separated by single blanks.
pack --extract ARCHIVE DIR
  Writes every entry as a file under DIR, backslashes becoming folders. Names that are absolute or
  have an empty, '.' or '..' part are refused before anything is written.

Options:
  -o ARCHIVE     the archive to build
  --list         list an archive
  --extract      extract an archive
  --help         show this help

Exit status: 0 on success, 1 when an input cannot be read or holds a fault (the message names the
file), 2 on a usage error.
)"};

bool IsInside(const fs::path& path, const fs::path& folder)
{
    const fs::path relative = fs::weakly_canonical(path).lexically_relative(fs::weakly_canonical(folder));
    return !relative.empty() && *relative.begin() != "..";
}

void Pack(const CommandLine& line)
{
    const std::string& folder = line.Operands(1, "one folder to pack")[0];
    const std::string& archive = line.Value("-o");
    if (IsInside(archive, folder))
        throw UsageError{"the archive " + archive + " lies inside the folder " + folder + " that is packed"};
    WriteWholeFile(archive, PackFolder(folder));
}

} // namespace

int main(int argc, char** argv)
{
    return RunTool(Tool, argc, argv, [](const std::vector<std::string>& args) {
        const CommandLine line(args, {"-o"}, {"--list", "--extract"});
        if (line.Has("--list") && line.Has("--extract"))
            throw UsageError{"--list and --extract exclude each other"};
        if ((line.Has("--list") || line.Has("--extract")) && line.Has("-o"))
            throw UsageError{"-o is only for building an archive"};

        if (line.Has("--list")) {
            ListArchive(line.Operands(1, "one archive to list")[0], std::cout);
        } else if (line.Has("--extract")) {
            const auto& operands = line.Operands(2, "an archive and a folder to extract into");
            ExtractArchive(operands[0], operands[1]);
        } else {
            Pack(line);
        }
    });
}
