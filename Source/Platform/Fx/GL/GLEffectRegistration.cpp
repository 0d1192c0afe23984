// Compiled into every program that links the GL backend (an interface source of ql_gfx_gl), so
// that effects on its GL devices get the GL driver from the start, with no call to remember.
#include "Platform/Fx/GL/GLEffectDriver.h"

namespace {

const fx::EffectDriverRegistration glEffects(fx::GLEffectDriverMaker());

} // namespace
