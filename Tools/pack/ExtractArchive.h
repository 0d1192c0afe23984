// Writes every entry of an archive (as the show reads its directory) back as a file under a folder,
// backslashes becoming folders.
#pragma once

#include <filesystem>
#include <string>

// Checks every entry name before anything is written, and refuses (InputError naming the archive)
// a name that is absolute, has an empty, "." or ".." part, or lands on the same file as another
// entry. Nothing is ever written outside folder: links already inside it are not followed.
void ExtractArchive(const std::string& archivePath, const std::filesystem::path& folder);
