#include "Output/WavWriter.h"

#include "Dsp/Constants.h"

#include <cstdint>
#include <cstring>

namespace synth {
namespace {

void Put(std::vector<unsigned char>& out, const char* tag)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<unsigned char>(tag[i]));
}

void Put32(std::vector<unsigned char>& out, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

void Put16(std::vector<unsigned char>& out, uint16_t value)
{
    out.push_back(static_cast<unsigned char>(value));
    out.push_back(static_cast<unsigned char>(value >> 8));
}

} // namespace

std::vector<unsigned char> EncodeWav(const StereoBuffer& audio)
{
    const uint32_t frames = static_cast<uint32_t>(audio.left.size());
    const uint32_t dataBytes = frames * 2 * 4;
    std::vector<unsigned char> out;
    out.reserve(dataBytes + 58);
    Put(out, "RIFF");
    Put32(out, 50 + dataBytes);
    Put(out, "WAVE");
    Put(out, "fmt ");
    Put32(out, 18);
    Put16(out, 3); // IEEE float
    Put16(out, 2);
    Put32(out, SampleRate);
    Put32(out, SampleRate * 2 * 4);
    Put16(out, 2 * 4);
    Put16(out, 32);
    Put16(out, 0);
    Put(out, "fact");
    Put32(out, 4);
    Put32(out, frames);
    Put(out, "data");
    Put32(out, dataBytes);
    for (uint32_t n = 0; n < frames; ++n) {
        for (float sample : {audio.left[n], audio.right[n]}) {
            uint32_t bits;
            std::memcpy(&bits, &sample, 4);
            Put32(out, bits);
        }
    }
    return out;
}

} // namespace synth
