// Where the show's archive is read from: the working folder, or else the folder of the program
// itself, so that a release unpacked anywhere starts from any folder and from a file manager.
#pragma once

#include <filesystem>
#include <string>

// The folder holding the running executable; empty where the system cannot say.
std::filesystem::path ProgramFolder();

// name as given when the working folder holds it, else its path in programFolder when that holds
// it. Raises FrameworkEx naming both places when neither does.
std::string LocateArchive(const std::string& name, const std::filesystem::path& programFolder);
