#include "EffectSource.h"

#include "Platform/Fx/EffectError.h"
#include "Platform/Fx/EffectParser.h"

#include <gtest/gtest.h>

fx::EffectDescription ParseSource(const std::string& source, const IncludeFiles& includes)
{
    return fx::ParseEffect("effect.fx", source, [&](const std::string& name) -> std::optional<std::string> {
        const auto found = includes.find(name);
        if (found == includes.end())
            return std::nullopt;
        return found->second;
    });
}

std::string ParseFault(const std::string& source, const IncludeFiles& includes)
{
    try {
        ParseSource(source, includes);
    } catch (const fx::EffectError& e) {
        return e.Message();
    }
    ADD_FAILURE() << "parsed without a fault:\n" << source;
    return "";
}
