// The show's modules and scenes: the one place that knows what this show is made of.
#pragma once

#include "Framework/DXFramework.h"

#include <memory>
#include <string>

void AssembleShow(DXFramework& framework);

// The show ready to be played frame by frame by whoever drives its clock (tests, benchmarks,
// offline rendering): the framework made from the command line (which should hold "--nosetup")
// on the given Direct3D, the show assembled, and window, device and device resources created. The
// music stays off and the picture is not multisampled, so frames are the same on every run.
std::unique_ptr<DXFramework> OpenShow(const std::string& commandLine, Direct3DCreator createDirect3D);
