#include "Framework/SetupDialog/AspectTable.h"

namespace {

float Ratio(unsigned width, unsigned height)
{
    return float(width) / float(height);
}

} // namespace

AspectTable BuildAspectTable()
{
    AspectTable table;
    for (AspectPair pair : {AspectPair{5, 4}, AspectPair{4, 3}, AspectPair{16, 10}, AspectPair{15, 9}, AspectPair{16, 9}})
        table[Ratio(pair.width, pair.height)] = pair;
    return table;
}

AspectPair AspectPairOf(const AspectTable& table, unsigned width, unsigned height)
{
    if (height == 0)
        return {};
    auto found = table.find(Ratio(width, height));
    return found == table.end() ? AspectPair{} : found->second;
}
