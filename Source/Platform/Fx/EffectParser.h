// Parses the source of an effect (EffectLanguage.md) into its description, reading included
// files through a callback, as D3DX reads them through an ID3DXInclude.
#pragma once

#include "Platform/Fx/EffectDescription.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace fx {

// The bytes of the file an #include names, or nullopt when it cannot be read.
using IncludeCallback = std::function<std::optional<std::string>(const std::string& fileName)>;

// fileName names the source in messages and in the description's file list. Each file is read
// once per effect: a second #include of the same name is skipped. Throws EffectError
// ("file:line: what was expected") for the first fault found.
EffectDescription ParseEffect(const std::string& fileName, std::string_view source, const IncludeCallback& include);

} // namespace fx
