#include "Demo/Capture/VideoFile.h"

#include "Framework/FrameworkEx.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
}

namespace {

constexpr int64_t SoundBitRate = 192000;
// One keyframe every two seconds: a reader can seek, and chunks can be joined at keyframes.
constexpr unsigned KeyframeSeconds = 2;

std::string ErrorText(int code)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

} // namespace

void VideoFile::Fail(const std::string& what, int code) const
{
    throw FrameworkEx("[VideoFile] \"" + path + "\": " + what + (code < 0 ? ": " + ErrorText(code) : ""));
}

VideoFile::VideoFile(const std::string& path, const VideoSettings& settings) : path(path), settings(settings)
{
    // The encoders' statistics would drown the progress line; their errors come back as codes.
    av_log_set_level(AV_LOG_ERROR);
    try {
        if (const int code = avformat_alloc_output_context2(&format, nullptr, "mp4", path.c_str()); code < 0)
            Fail("cannot make an MP4 file", code);
        OpenVideo();
        if (settings.audioRate)
            OpenAudio();
        if (const int code = avio_open(&format->pb, path.c_str(), AVIO_FLAG_WRITE); code < 0)
            Fail("cannot be opened for writing", code);
        // The index goes in front of the pictures (a second pass when the file is finished), so
        // that a browser starts playing before the whole file has arrived.
        AVDictionary* muxerOptions = nullptr;
        av_dict_set(&muxerOptions, "movflags", "+faststart", 0);
        const int code = avformat_write_header(format, &muxerOptions);
        av_dict_free(&muxerOptions);
        if (code < 0)
            Fail("cannot write the header", code);
        headerWritten = true;
        packet = av_packet_alloc();
        if (!packet)
            Fail("out of memory", 0);
    } catch (...) {
        Release();
        throw;
    }
}

VideoFile::~VideoFile()
{
    Release();
}

void VideoFile::Release()
{
    converter.reset();
    av_frame_free(&picture);
    av_frame_free(&sound);
    av_packet_free(&packet);
    avcodec_free_context(&video);
    avcodec_free_context(&audio);
    if (format) {
        if (format->pb)
            avio_closep(&format->pb);
        avformat_free_context(format);
        format = nullptr;
    }
}

void VideoFile::OpenVideo()
{
    const AVCodec* codec = avcodec_find_encoder_by_name("libx264");
    if (!codec)
        Fail("this libavcodec has no libx264 encoder", 0);
    video = avcodec_alloc_context3(codec);
    videoStream = avformat_new_stream(format, nullptr);
    if (!video || !videoStream)
        Fail("out of memory", 0);
    video->width = static_cast<int>(settings.width);
    video->height = static_cast<int>(settings.height);
    video->time_base = AVRational{1, static_cast<int>(settings.fps)};
    video->framerate = AVRational{static_cast<int>(settings.fps), 1};
    video->pix_fmt = AV_PIX_FMT_YUV420P;
    video->gop_size = static_cast<int>(settings.fps * KeyframeSeconds);
    video->color_primaries = AVCOL_PRI_BT709;
    video->color_trc = AVCOL_TRC_BT709;
    video->colorspace = AVCOL_SPC_BT709;
    video->color_range = AVCOL_RANGE_MPEG;
    if (format->oformat->flags & AVFMT_GLOBALHEADER)
        video->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    av_opt_set(video->priv_data, "preset", settings.preset.c_str(), 0);
    av_opt_set_int(video->priv_data, "crf", settings.crf, 0);
    if (const int code = avcodec_open2(video, codec, nullptr); code < 0)
        Fail("the H.264 encoder refuses " + std::to_string(settings.width) + "x" + std::to_string(settings.height),
             code);
    if (const int code = avcodec_parameters_from_context(videoStream->codecpar, video); code < 0)
        Fail("cannot describe the video stream", code);
    videoStream->time_base = video->time_base;
    videoStream->avg_frame_rate = video->framerate;

    picture = av_frame_alloc();
    if (!picture)
        Fail("out of memory", 0);
    picture->format = video->pix_fmt;
    picture->width = video->width;
    picture->height = video->height;
    picture->color_primaries = video->color_primaries;
    picture->color_trc = video->color_trc;
    picture->colorspace = video->colorspace;
    picture->color_range = video->color_range;
    if (const int code = av_frame_get_buffer(picture, 0); code < 0)
        Fail("out of memory for a picture", code);
    converter = std::make_unique<PictureConverter>(video->width, video->height);
}

void VideoFile::OpenAudio()
{
    const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_AAC);
    if (!codec)
        Fail("this libavcodec has no AAC encoder", 0);
    audio = avcodec_alloc_context3(codec);
    audioStream = avformat_new_stream(format, nullptr);
    if (!audio || !audioStream)
        Fail("out of memory", 0);
    audio->sample_fmt = AV_SAMPLE_FMT_FLTP;
    audio->sample_rate = *settings.audioRate;
    av_channel_layout_default(&audio->ch_layout, 2);
    audio->bit_rate = SoundBitRate;
    audio->time_base = AVRational{1, audio->sample_rate};
    if (format->oformat->flags & AVFMT_GLOBALHEADER)
        audio->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    if (const int code = avcodec_open2(audio, codec, nullptr); code < 0)
        Fail("the AAC encoder refuses " + std::to_string(audio->sample_rate) + " samples a second", code);
    if (const int code = avcodec_parameters_from_context(audioStream->codecpar, audio); code < 0)
        Fail("cannot describe the audio stream", code);
    audioStream->time_base = audio->time_base;

    sound = av_frame_alloc();
    if (!sound)
        Fail("out of memory", 0);
    sound->format = audio->sample_fmt;
    sound->sample_rate = audio->sample_rate;
    sound->nb_samples = audio->frame_size;
    av_channel_layout_copy(&sound->ch_layout, &audio->ch_layout);
    if (const int code = av_frame_get_buffer(sound, 0); code < 0)
        Fail("out of memory for sound", code);
}

void VideoFile::AddPicture(const uint8_t* bgra, size_t rowBytes)
{
    if (const int code = av_frame_make_writable(picture); code < 0)
        Fail("out of memory for a picture", code);
    converter->Convert(bgra, rowBytes, *picture);
    picture->pts = pictures++;
    Encode(video, videoStream, picture);
}

void VideoFile::AddSound(const float* samples, size_t frames)
{
    if (!audio)
        return;
    for (size_t i = 0; i < frames; ++i) {
        if (soundFill == 0 && av_frame_make_writable(sound) < 0)
            Fail("out of memory for sound", 0);
        reinterpret_cast<float*>(sound->data[0])[soundFill] = samples[2 * i];
        reinterpret_cast<float*>(sound->data[1])[soundFill] = samples[2 * i + 1];
        if (++soundFill == audio->frame_size)
            EncodeSoundFrame(soundFill);
    }
}

void VideoFile::EncodeSoundFrame(int samples)
{
    sound->nb_samples = samples;
    sound->pts = soundFrames;
    soundFrames += samples;
    soundFill = 0;
    Encode(audio, audioStream, sound);
}

void VideoFile::Encode(AVCodecContext* codec, AVStream* stream, AVFrame* frame)
{
    if (const int code = avcodec_send_frame(codec, frame); code < 0)
        Fail("the encoder refuses a frame", code);
    for (;;) {
        const int received = avcodec_receive_packet(codec, packet);
        if (received == AVERROR(EAGAIN) || received == AVERROR_EOF)
            return;
        if (received < 0)
            Fail("the encoder failed", received);
        av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
        packet->stream_index = stream->index;
        if (const int code = av_interleaved_write_frame(format, packet); code < 0)
            Fail("cannot be written", code);
    }
}

void VideoFile::Finish()
{
    if (finished)
        return;
    finished = true;
    if (audio && soundFill > 0)
        EncodeSoundFrame(soundFill);
    Encode(video, videoStream, nullptr);
    if (audio)
        Encode(audio, audioStream, nullptr);
    if (const int code = av_write_trailer(format); code < 0)
        Fail("cannot write the index", code);
    if (const int code = avio_closep(&format->pb); code < 0)
        Fail("cannot be closed", code);
}
