// The player: plays the show from basefile.dat (the working folder's, or else the one beside the
// program), or renders it offline into a video or stills.
#include "Demo/Capture/CaptureMain.h"
#include "Demo/Capture/CaptureOptions.h"
#include "Demo/Capture/StillFile.h"
#include "Demo/ShowAssembly.h"
#include "Demo/TimeControl/PreparedShowStates.h"
#include "Demo/TimeControl/StatePreparation.h"
#include "Framework/DXFramework.h"
#include "Framework/FileSys/FileSys.h"
#include "Framework/EntryPoint.h"
#include "Framework/LaunchOptions.h"
#include "Platform/Gfx/GL/CreateGLDirect3D.h"
#include "Platform/Gfx/GL/GLReadBack.h"

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
    if (!words.empty() && words[0] == PrepareStatesOption)
        return PrepareStatesMain(words, GLDirect3DCreator());
    if (AsksForCapture(words))
        return CaptureMain(words);
    // A seek or the maker's mode keeps the show's states, prepared by a process of its own.
    const auto assemble = [](DXFramework& framework) {
        AssembleShow(framework);
        if (framework.options.dev || framework.options.seekSeconds > 0.0)
            framework.showStates =
                std::make_unique<PreparedShowStates>(framework, "/proc/self/exe", FileSys::ArchivePath);
        framework.saveFrame = [](const std::string& file) { SaveStill(GLReadBackBuffer(*DXFramework::device), file); };
    };
    return RunShow(nullptr, CommandLineOf(argc, argv), ShowTitle, assemble, GLDirect3DCreator());
}
