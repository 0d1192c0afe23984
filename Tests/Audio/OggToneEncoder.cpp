#include "OggToneEncoder.h"

#include <vorbis/vorbisenc.h>

#include <cmath>
#include <numbers>
#include <stdexcept>

namespace {

void AppendPage(std::vector<unsigned char>& out, const ogg_page& page)
{
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
}

class Encoder {
public:
    Encoder(long rate, int channels)
    {
        vorbis_info_init(&info);
        if (vorbis_encode_init_vbr(&info, channels, rate, 0.5f) != 0)
            throw std::runtime_error("vorbis_encode_init_vbr refused the format");
        vorbis_comment_init(&comment);
        vorbis_analysis_init(&dsp, &info);
        vorbis_block_init(&dsp, &block);
        ogg_stream_init(&stream, 1);

        ogg_packet header, commentHeader, codebooks;
        vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codebooks);
        ogg_stream_packetin(&stream, &header);
        ogg_stream_packetin(&stream, &commentHeader);
        ogg_stream_packetin(&stream, &codebooks);
        ogg_page page;
        while (ogg_stream_flush(&stream, &page) != 0)
            AppendPage(bytes, page);
    }

    ~Encoder()
    {
        ogg_stream_clear(&stream);
        vorbis_block_clear(&block);
        vorbis_dsp_clear(&dsp);
        vorbis_comment_clear(&comment);
        vorbis_info_clear(&info);
    }

    float** Buffer(int frames) { return vorbis_analysis_buffer(&dsp, frames); }

    void Wrote(int frames)
    {
        vorbis_analysis_wrote(&dsp, frames);
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
                ogg_stream_packetin(&stream, &packet);
                // A page per packet, so that a file cut anywhere keeps nearly all audio before the cut.
                ogg_page page;
                while (ogg_stream_flush(&stream, &page) != 0)
                    AppendPage(bytes, page);
            }
        }
    }

    std::vector<unsigned char> Finish()
    {
        Wrote(0);
        ogg_page page;
        while (ogg_stream_flush(&stream, &page) != 0)
            AppendPage(bytes, page);
        return bytes;
    }

private:
    vorbis_info info;
    vorbis_comment comment;
    vorbis_dsp_state dsp;
    vorbis_block block;
    ogg_stream_state stream;
    std::vector<unsigned char> bytes;
};

} // namespace

std::vector<unsigned char> EncodeToneOgg(long rate, const std::vector<double>& channelFrequencies, double seconds,
                                         float amplitude)
{
    const int channels = static_cast<int>(channelFrequencies.size());
    Encoder encoder(rate, channels);
    const long total = std::lround(seconds * static_cast<double>(rate));
    constexpr long Chunk = 1024;
    for (long start = 0; start < total; start += Chunk) {
        const int frames = static_cast<int>(std::min(Chunk, total - start));
        float** buffer = encoder.Buffer(frames);
        for (int c = 0; c < channels; ++c) {
            const double step = 2.0 * std::numbers::pi * channelFrequencies[c] / static_cast<double>(rate);
            for (int i = 0; i < frames; ++i)
                buffer[c][i] = amplitude * static_cast<float>(std::sin(step * static_cast<double>(start + i)));
        }
        encoder.Wrote(frames);
    }
    return encoder.Finish();
}
