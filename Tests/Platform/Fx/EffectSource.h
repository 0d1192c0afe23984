// Parsing effect sources held in memory, with includes served from a map, for the effect tests.
#pragma once

#include "Platform/Fx/EffectDescription.h"

#include <map>
#include <string>

using IncludeFiles = std::map<std::string, std::string>;

// The main file is named "effect.fx".
fx::EffectDescription ParseSource(const std::string& source, const IncludeFiles& includes = {});
// The message of the EffectError the source raises; a test failure when it parses.
std::string ParseFault(const std::string& source, const IncludeFiles& includes = {});
