#include "ExtractArchive.h"

#include "ArchiveDirectory.h"
#include "ToolMain.h"

#include "Framework/FileSys/ArchiveWriter.h"

#include <map>
#include <vector>

namespace fs = std::filesystem;

namespace {

// The parts of an entry name. Forward slashes separate too: they would on the system the names
// come from, and here they must not smuggle a ".." past the check.
std::vector<std::string> NameParts(const std::string& archivePath, const std::string& name)
{
    std::vector<std::string> parts(1);
    for (char c : name) {
        if (c == '\\' || c == '/')
            parts.emplace_back();
        else
            parts.back() += c;
    }
    for (const std::string& part : parts)
        if (part.empty() || part == "." || part == "..")
            RefuseFile(archivePath, "entry \"" + name +
                                        "\" is an absolute path or has an empty, '.' or '..' part; it would be "
                                        "written outside the target folder or not where it says");
    return parts;
}

// Makes the folders of parts (all but the last) under root, refusing to pass through anything
// that is not a real folder, then returns the file's path.
fs::path PrepareFile(const std::string& archivePath, const std::string& name, const fs::path& root,
                     const std::vector<std::string>& parts)
{
    const auto refuse = [&](const fs::path& at, const std::string& what) {
        RefuseFile(archivePath, "entry \"" + name + "\" cannot be written: " + at.string() + " is " + what);
    };
    fs::path at = root;
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
        at /= parts[i];
        const fs::file_status status = fs::symlink_status(at);
        if (!fs::exists(status))
            fs::create_directory(at);
        else if (!fs::is_directory(status))
            refuse(at, fs::is_symlink(status) ? "a link" : "not a folder");
    }
    at /= parts.back();
    const fs::file_status status = fs::symlink_status(at);
    if (fs::exists(status) && !fs::is_regular_file(status))
        refuse(at, fs::is_symlink(status) ? "a link" : "not a regular file");
    return at;
}

} // namespace

void ExtractArchive(const std::string& archivePath, const fs::path& folder)
{
    const auto directory = ReadArchiveDirectory(archivePath);

    std::map<std::string, std::vector<std::string>> partsOf;
    std::map<std::vector<std::string>, std::string> entryAt;
    for (const auto& [name, entry] : directory) {
        std::vector<std::string> parts = NameParts(archivePath, name);
        const auto [other, inserted] = entryAt.emplace(parts, name);
        if (!inserted)
            RefuseFile(archivePath, "entries \"" + other->second + "\" and \"" + name + "\" name the same file");
        partsOf.emplace(name, std::move(parts));
    }

    fs::create_directories(folder);
    for (const auto& [name, entry] : directory) {
        const std::vector<unsigned char> contents = ReadArchiveEntry(archivePath, name, entry);
        WriteWholeFile(PrepareFile(archivePath, name, folder, partsOf.at(name)).string(), contents);
    }
}
