#include "PackFolder.h"

#include "ToolMain.h"

#include "Framework/FileSys/ArchiveWriter.h"
#include "Framework/FileSys/FileSys.h"

#include <algorithm>
#include <string>
#include <utility>

namespace fs = std::filesystem;

namespace {

bool IsNameByte(unsigned char c)
{
    // The directory is parsed word by word; a backslash is the folder separator of entry names.
    return c > ' ' && c != 0x7f && c != '\\';
}

void CheckNamePart(const fs::path& file, const std::string& part)
{
    if (!std::all_of(part.begin(), part.end(), [](char c) { return IsNameByte(static_cast<unsigned char>(c)); }))
        RefuseFile(file.string(), "the name '" + part +
                                      "' holds white space, a control character or a backslash, which an archive "
                                      "entry name cannot hold");
}

// Adds (entry name, path) of every regular file under folder; prefix is the entry name of folder
// followed by a backslash, or empty at the top. Links to folders are not followed, so a link cannot
// make the walk endless.
void CollectFiles(const fs::path& folder, const std::string& prefix,
                  std::vector<std::pair<std::string, fs::path>>& files)
{
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        const std::string part = entry.path().filename().string();
        if (entry.is_directory() && !entry.is_symlink()) {
            CheckNamePart(entry.path(), part);
            CollectFiles(entry.path(), prefix + part + "\\", files);
        } else if (entry.is_regular_file()) {
            CheckNamePart(entry.path(), part);
            const std::string name = prefix + part;
            if (name.size() > FileSys::MaxNameLength)
                RefuseFile(entry.path().string(), "the entry name is " + std::to_string(name.size()) +
                                                      " bytes long, more than the " +
                                                      std::to_string(FileSys::MaxNameLength) + " the show reads");
            files.emplace_back(name, entry.path());
        }
    }
}

} // namespace

std::vector<unsigned char> PackFolder(const fs::path& folder)
{
    if (!fs::is_directory(folder))
        RefuseFile(folder.string(), "not a folder");

    std::vector<std::pair<std::string, fs::path>> files;
    CollectFiles(folder, "", files);
    std::sort(files.begin(), files.end());

    ArchiveWriter writer;
    for (const auto& [name, file] : files) {
        const uintmax_t size = fs::file_size(file);
        if (size > FileSys::MaxUnpackedSize)
            RefuseFile(file.string(), std::to_string(size) + " bytes, more than the " +
                                          std::to_string(FileSys::MaxUnpackedSize) + " an archive entry may hold");
        writer.Add(name, ReadWholeFile(file.string()));
    }
    return writer.Build();
}
