// The player: plays the show from basefile.dat in the working directory.
#include "Demo/ShowAssembly.h"
#include "Framework/EntryPoint.h"
#include "Platform/Gfx/GL/CreateGLDirect3D.h"

int main(int argc, char** argv)
{
    return RunShow(nullptr, CommandLineOf(argc, argv), ShowTitle, AssembleShow, GLDirect3DCreator());
}
