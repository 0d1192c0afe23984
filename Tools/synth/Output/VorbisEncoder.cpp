#include "Output/VorbisEncoder.h"

#include "Dsp/Constants.h"
#include "SynthError.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>

namespace synth {
namespace {

constexpr int ChunkFrames = 1024;

// Owns the libvorbis and libogg state of one encoding, so every exit path frees it.
class VorbisStream {
public:
    explicit VorbisStream(const VorbisSettings& settings)
    {
        vorbis_info_init(&info);
        if (vorbis_encode_init_vbr(&info, 2, SampleRate, settings.quality) != 0) {
            vorbis_info_clear(&info);
            throw SynthError("[EncodeVorbis]: libvorbisenc refused 2 channels at 44100 Hz and quality " +
                             std::to_string(settings.quality));
        }
        vorbis_comment_init(&comment);
        if (!settings.title.empty())
            vorbis_comment_add_tag(&comment, "TITLE", settings.title.c_str());
        vorbis_analysis_init(&dsp, &info);
        vorbis_block_init(&dsp, &block);
        ogg_stream_init(&stream, settings.serial);
    }

    ~VorbisStream()
    {
        ogg_stream_clear(&stream);
        vorbis_block_clear(&block);
        vorbis_dsp_clear(&dsp);
        vorbis_comment_clear(&comment);
        vorbis_info_clear(&info);
    }

    VorbisStream(const VorbisStream&) = delete;
    VorbisStream& operator=(const VorbisStream&) = delete;

    void WriteHeaders()
    {
        ogg_packet identification, commentPacket, codebooks;
        vorbis_analysis_headerout(&dsp, &comment, &identification, &commentPacket, &codebooks);
        ogg_stream_packetin(&stream, &identification);
        ogg_stream_packetin(&stream, &commentPacket);
        ogg_stream_packetin(&stream, &codebooks);
        // The audio must start on a fresh page.
        ogg_page page;
        while (ogg_stream_flush(&stream, &page) != 0)
            Append(page);
    }

    void Write(const float* left, const float* right, int frames)
    {
        float** buffer = vorbis_analysis_buffer(&dsp, frames);
        std::copy(left, left + frames, buffer[0]);
        std::copy(right, right + frames, buffer[1]);
        vorbis_analysis_wrote(&dsp, frames);
        Drain();
    }

    void Finish()
    {
        vorbis_analysis_wrote(&dsp, 0);
        Drain();
    }

    std::vector<unsigned char> bytes;

private:
    void Drain()
    {
        ogg_packet packet;
        ogg_page page;
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            while (vorbis_bitrate_flushpacket(&dsp, &packet) == 1) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0)
                    Append(page);
            }
        }
        if (ogg_stream_eos(&stream)) {
            while (ogg_stream_flush(&stream, &page) != 0)
                Append(page);
        }
    }

    void Append(const ogg_page& page)
    {
        bytes.insert(bytes.end(), page.header, page.header + page.header_len);
        bytes.insert(bytes.end(), page.body, page.body + page.body_len);
    }

    vorbis_info info;
    vorbis_comment comment;
    vorbis_dsp_state dsp;
    vorbis_block block;
    ogg_stream_state stream;
};

} // namespace

std::vector<unsigned char> EncodeVorbis(const StereoBuffer& audio, const VorbisSettings& settings)
{
    if (audio.left.size() != audio.right.size())
        throw SynthError("[EncodeVorbis]: the channels differ in length");
    VorbisStream stream(settings);
    stream.WriteHeaders();
    const long frames = static_cast<long>(audio.left.size());
    for (long from = 0; from < frames; from += ChunkFrames) {
        const int count = static_cast<int>(std::min<long>(ChunkFrames, frames - from));
        stream.Write(audio.left.data() + from, audio.right.data() + from, count);
    }
    stream.Finish();
    return std::move(stream.bytes);
}

} // namespace synth
