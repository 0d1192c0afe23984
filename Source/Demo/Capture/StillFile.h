// A still picture of the show written as a PNG file.
#pragma once

#include "Platform/Gfx/ReadBackImage.h"

#include <filesystem>

// Writes the picture under a temporary name beside path and renames it when complete; throws
// FrameworkEx naming the file when it cannot be written.
void SaveStill(const ReadBackImage& picture, const std::filesystem::path& path);
