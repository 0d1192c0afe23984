#include "Framework/Noise/CrtRand.h"

namespace CrtRand {
namespace {

uint32_t state = ProcessSeed;

} // namespace

void srand(uint32_t seed)
{
    state = seed;
}

int rand()
{
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFF);
}

uint32_t State()
{
    return state;
}

} // namespace CrtRand
