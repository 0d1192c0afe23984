#include "Capture/VideoReader.h"

#include "Demo/Capture/PictureConverter.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/imgutils.h>
}

#include <memory>
#include <stdexcept>

namespace {

void Pack(const AVFrame& frame, std::vector<uint8_t>& out)
{
    for (int plane = 0; plane < 3; ++plane) {
        const int width = plane == 0 ? frame.width : (frame.width + 1) / 2;
        const int height = plane == 0 ? frame.height : (frame.height + 1) / 2;
        for (int y = 0; y < height; ++y) {
            const uint8_t* row = frame.data[plane] + static_cast<ptrdiff_t>(y) * frame.linesize[plane];
            out.insert(out.end(), row, row + width);
        }
    }
}

struct Decoder {
    AVCodecContext* context = nullptr;
    ~Decoder() { avcodec_free_context(&context); }
};

void Drain(AVCodecContext* codec, AVFrame* frame, DecodedVideo& video, bool picture)
{
    while (avcodec_receive_frame(codec, frame) == 0) {
        if (picture) {
            video.pictures.emplace_back();
            Pack(*frame, video.pictures.back());
        } else {
            const float* left = reinterpret_cast<const float*>(frame->data[0]);
            const float* right = reinterpret_cast<const float*>(frame->data[frame->ch_layout.nb_channels > 1 ? 1 : 0]);
            for (int i = 0; i < frame->nb_samples; ++i) {
                video.sound.push_back(left[i]);
                video.sound.push_back(right[i]);
            }
        }
        av_frame_unref(frame);
    }
}

} // namespace

DecodedVideo ReadVideo(const std::string& path)
{
    AVFormatContext* format = nullptr;
    if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0)
        throw std::runtime_error(path + ": not a video file that libavformat reads");
    std::unique_ptr<AVFormatContext, void (*)(AVFormatContext*)> closer(format,
                                                                        [](AVFormatContext* f) { avformat_close_input(&f); });
    if (avformat_find_stream_info(format, nullptr) < 0)
        throw std::runtime_error(path + ": its streams cannot be read");
    DecodedVideo video;
    video.seconds = static_cast<double>(format->duration) / AV_TIME_BASE;
    std::vector<Decoder> decoders(format->nb_streams);
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        const AVCodecParameters& parameters = *format->streams[i]->codecpar;
        const AVCodec* codec = avcodec_find_decoder(parameters.codec_id);
        if (!codec)
            continue;
        decoders[i].context = avcodec_alloc_context3(codec);
        avcodec_parameters_to_context(decoders[i].context, &parameters);
        if (avcodec_open2(decoders[i].context, codec, nullptr) < 0)
            throw std::runtime_error(path + ": a stream cannot be decoded");
        if (parameters.codec_type == AVMEDIA_TYPE_VIDEO) {
            video.width = parameters.width;
            video.height = parameters.height;
            video.fpsNumerator = format->streams[i]->avg_frame_rate.num;
            video.fpsDenominator = format->streams[i]->avg_frame_rate.den;
            video.yuv420 = parameters.format == AV_PIX_FMT_YUV420P;
            video.bt709 = parameters.color_space == AVCOL_SPC_BT709 && parameters.color_primaries == AVCOL_PRI_BT709 &&
                          parameters.color_trc == AVCOL_TRC_BT709;
        } else if (parameters.codec_type == AVMEDIA_TYPE_AUDIO) {
            ++video.soundStreams;
            video.soundRate = parameters.sample_rate;
        }
    }
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    while (av_read_frame(format, packet) >= 0) {
        AVCodecContext* codec = decoders[static_cast<size_t>(packet->stream_index)].context;
        if (codec && avcodec_send_packet(codec, packet) == 0)
            Drain(codec, frame, video, codec->codec_type == AVMEDIA_TYPE_VIDEO);
        av_packet_unref(packet);
    }
    for (Decoder& decoder : decoders)
        if (decoder.context && avcodec_send_packet(decoder.context, nullptr) == 0)
            Drain(decoder.context, frame, video, decoder.context->codec_type == AVMEDIA_TYPE_VIDEO);
    av_frame_free(&frame);
    av_packet_free(&packet);
    return video;
}

std::vector<uint8_t> ConvertedPlanes(const uint8_t* bgra, int width, int height)
{
    AVFrame* frame = av_frame_alloc();
    frame->format = AV_PIX_FMT_YUV420P;
    frame->width = width;
    frame->height = height;
    av_frame_get_buffer(frame, 0);
    PictureConverter(width, height).Convert(bgra, static_cast<size_t>(width) * 4, *frame);
    std::vector<uint8_t> planes;
    Pack(*frame, planes);
    av_frame_free(&frame);
    return planes;
}
