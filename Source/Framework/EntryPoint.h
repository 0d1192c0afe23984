// What the program's entry point does around the show: builds the framework, lets the caller
// assemble the show, runs it, and turns every failure into a message box and exit code 1.
#pragma once

#include "Platform/Gfx/IDirect3D9.h"
#include "Platform/Window/WinTypes.h"

#include <functional>
#include <string>

class DXFramework;

// Registers the show's modules and scenes with the framework's registries.
using ShowAssembly = std::function<void(DXFramework&)>;

// 0 when the show ended normally (also after --help or --version), 1 after a failure.
int RunShow(HINSTANCE instance, const std::string& commandLine, const std::string& title,
            const ShowAssembly& assemble, const Direct3DCreator& createDirect3D);

// The program's arguments as one command line, quoted where needed (JoinArguments).
std::string CommandLineOf(int argc, char** argv);

// The window title of the show.
inline const char* const ShowTitle = "Quiet Lantern";
