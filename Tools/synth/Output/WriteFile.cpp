#include "Output/WriteFile.h"

#include "SynthError.h"

#include <cstdio>
#include <fstream>

namespace synth {

void WriteFile(const std::string& path, const std::vector<unsigned char>& bytes)
{
    // Written beside the target and renamed, so a failed build never leaves half a file that a
    // later build would take as up to date.
    const std::string temporary = path + ".part";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        if (!file)
            throw SynthError(path + ": cannot write");
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!file)
            throw SynthError(path + ": cannot write");
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        throw SynthError(path + ": cannot write");
    }
}

} // namespace synth
