#include "Demo/Capture/TemporaryOutput.h"

#include "Framework/FrameworkEx.h"

#include <unistd.h>

TemporaryOutput::TemporaryOutput(std::filesystem::path finalPath) : finalPath(std::move(finalPath))
{
    // Beside the final name, so the rename stays on one file system; the process number keeps two
    // runs writing the same name apart.
    temporary = this->finalPath.string() + ".partial-" + std::to_string(getpid());
}

TemporaryOutput::~TemporaryOutput()
{
    if (!committed) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
    }
}

void TemporaryOutput::Commit()
{
    std::error_code error;
    std::filesystem::rename(temporary, finalPath, error);
    if (error)
        throw FrameworkEx("\"" + finalPath.string() + "\" cannot be written: " + error.message());
    committed = true;
}
