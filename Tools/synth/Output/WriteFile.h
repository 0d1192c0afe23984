// Writes bytes to a file, failing with the path when it cannot.
#pragma once

#include <string>
#include <vector>

namespace synth {

void WriteFile(const std::string& path, const std::vector<unsigned char>& bytes);

} // namespace synth
