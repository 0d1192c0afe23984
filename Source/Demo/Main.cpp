// The player: plays the show from basefile.dat (the working folder's, or else the one beside the
// program), or renders it offline into a video or stills.
#include "Demo/Capture/CaptureMain.h"
#include "Demo/Capture/CaptureOptions.h"
#include "Demo/ShowAssembly.h"
#include "Framework/EntryPoint.h"
#include "Framework/LaunchOptions.h"
#include "Platform/Gfx/GL/CreateGLDirect3D.h"

#include <algorithm>
#include <cstdio>

int main(int argc, char** argv)
{
    const std::vector<std::string> words(argv + 1, argv + argc);
    if (std::find_if(words.begin(), words.end(), [](const std::string& w) { return w == "--help" || w == "-h"; }) !=
        words.end()) {
        std::fputs((LaunchOptionsHelp("quiet-lantern") + "\n" + CaptureOptionsHelp()).c_str(), stdout);
        return 0;
    }
    if (AsksForCapture(words))
        return CaptureMain(words);
    return RunShow(nullptr, CommandLineOf(argc, argv), ShowTitle, AssembleShow, GLDirect3DCreator());
}
