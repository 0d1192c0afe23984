// Builds an archive from every regular file under a folder, named by its path relative to the
// folder with backslashes ("Data\events\Scenes.txt"), in byte-wise name order, so that the same
// files always give the same bytes.
#pragma once

#include <filesystem>
#include <vector>

// Throws InputError naming the file when one cannot become an entry the show can read: a name with
// white space, a control character or a backslash, a name longer than the directory parser reads,
// or more bytes than an entry may hold.
std::vector<unsigned char> PackFolder(const std::filesystem::path& folder);
