// The monitor shapes the setup dialog knows, as width:height pairs ordered by their ratio, which
// is also the order of its "Monitor" list.
#pragma once

#include <map>

struct AspectPair {
    unsigned width = 1;
    unsigned height = 1;
};

using AspectTable = std::map<float, AspectPair>;

// 5:4, 4:3, 16:10, 15:9 and 16:9, keyed by width / height as a 32-bit float.
AspectTable BuildAspectTable();

// The pair whose ratio equals width / height exactly, else 1:1.
AspectPair AspectPairOf(const AspectTable& table, unsigned width, unsigned height);
