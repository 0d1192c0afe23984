// The show's modules and scenes: the one place that knows what this show is made of.
#pragma once

class DXFramework;

void AssembleShow(DXFramework& framework);
