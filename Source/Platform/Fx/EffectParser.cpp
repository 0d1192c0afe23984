#include "Platform/Fx/EffectParser.h"

#include "Platform/Fx/detail/Parser.h"

namespace fx {

EffectDescription ParseEffect(const std::string& fileName, std::string_view source, const IncludeCallback& include)
{
    return detail::Parser(include).Parse(fileName, source);
}

} // namespace fx
