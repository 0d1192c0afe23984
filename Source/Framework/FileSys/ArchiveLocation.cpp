#include "Framework/FileSys/ArchiveLocation.h"

#include "Framework/FrameworkEx.h"

#include <system_error>

namespace fs = std::filesystem;

fs::path ProgramFolder()
{
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path() : program.parent_path();
}

std::string LocateArchive(const std::string& name, const fs::path& programFolder)
{
    std::error_code error;
    if (fs::is_regular_file(name, error))
        return name;
    const fs::path beside = programFolder / name;
    if (!programFolder.empty() && fs::is_regular_file(beside, error))
        return beside.string();

    const fs::path workingFolder = fs::current_path(error);
    std::string message = "Failure: Could not open \"" + name + "\" when reading database\n" +
                          "Looked in the working folder " + (error ? std::string("(unknown)") : workingFolder.string());
    message += programFolder.empty() ? std::string(" (the program's own folder is unknown)")
                                     : " and beside the program in " + programFolder.string();
    throw FrameworkEx(message + "\n");
}
