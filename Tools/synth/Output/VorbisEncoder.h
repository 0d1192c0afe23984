// Ogg Vorbis encoding with libvorbisenc at a fixed quality and a fixed stream serial number:
// the same samples always give the same bytes.
#pragma once

#include "Render/SongRenderer.h"

#include <string>
#include <vector>

namespace synth {

struct VorbisSettings {
    float quality = 0.5f;           // libvorbis scale -0.1 .. 1; 0.5 is "quality 5"
    int serial = 0x514C0001;        // fixed, never time-based
    std::string title;
};

std::vector<unsigned char> EncodeVorbis(const StereoBuffer& audio, const VorbisSettings& settings);

} // namespace synth
