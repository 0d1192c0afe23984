// An MP4 file being written: H.264 video (libx264, 4:2:0, tagged BT.709, limited range) from
// BGRA pictures and, optionally, AAC audio from interleaved stereo float samples, through
// libavcodec and libavformat. The file is written under the given path as it goes; Finish
// completes it (encoders drained, index written), and a file never finished is left incomplete
// for the caller to remove.
#pragma once

#include "Demo/Capture/PictureConverter.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct AVStream;

struct VideoSettings {
    unsigned width = 0;  // even
    unsigned height = 0; // even
    unsigned fps = 60;
    int crf = 18;        // 0 is lossless
    std::string preset = "medium";
    std::optional<int> audioRate; // samples a second of the stereo soundtrack, or no audio
};

class VideoFile {
public:
    // Throws FrameworkEx naming the file and what failed.
    VideoFile(const std::string& path, const VideoSettings& settings);
    ~VideoFile();
    VideoFile(const VideoFile&) = delete;
    VideoFile& operator=(const VideoFile&) = delete;

    // The next picture: width x height BGRA pixels, top row first, rowBytes apart.
    void AddPicture(const uint8_t* bgra, size_t rowBytes);
    // The next stereo samples, interleaved left and right.
    void AddSound(const float* samples, size_t frames);
    // Drains both encoders and writes the file's index. Nothing may be added afterwards.
    void Finish();

    int64_t PicturesWritten() const { return pictures; }
    int64_t SoundFramesWritten() const { return soundFrames; }

private:
    void Release();
    void OpenVideo();
    void OpenAudio();
    void EncodeSoundFrame(int samples);
    // Sends frame (null to drain) and writes every packet that comes out.
    void Encode(AVCodecContext* codec, AVStream* stream, AVFrame* frame);
    [[noreturn]] void Fail(const std::string& what, int code) const;

    std::string path;
    VideoSettings settings;
    AVFormatContext* format = nullptr;
    AVCodecContext* video = nullptr;
    AVCodecContext* audio = nullptr;
    AVStream* videoStream = nullptr;
    AVStream* audioStream = nullptr;
    AVFrame* picture = nullptr;
    AVFrame* sound = nullptr;
    AVPacket* packet = nullptr;
    std::unique_ptr<PictureConverter> converter;
    int soundFill = 0; // samples waiting in sound, below the encoder's frame size
    int64_t pictures = 0;
    int64_t soundFrames = 0;
    bool headerWritten = false;
    bool finished = false;
};
