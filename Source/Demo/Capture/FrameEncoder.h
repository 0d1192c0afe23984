// The video file written on a thread of its own behind a small bounded queue, so that the next
// frame renders while the last one is converted and encoded. The soundtrack goes in as the
// pictures go: after picture n, everything heard up to (n + 1) / fps seconds.
#pragma once

#include "Demo/Capture/Soundtrack.h"
#include "Demo/Capture/VideoFile.h"
#include "Platform/Gfx/ReadBackImage.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

class FrameEncoder {
public:
    static constexpr size_t QueueLength = 3;

    // soundtrack may be null: a video without sound.
    FrameEncoder(std::unique_ptr<VideoFile> file, std::unique_ptr<Soundtrack> soundtrack, unsigned fps);
    // Stops the thread; what is still queued is dropped.
    ~FrameEncoder();
    FrameEncoder(const FrameEncoder&) = delete;
    FrameEncoder& operator=(const FrameEncoder&) = delete;

    // Waits while the queue is full. Throws what the encoding thread failed with, if it did.
    void Push(ReadBackImage picture);
    // Encodes what is queued and finishes the file; throws the encoding thread's failure.
    void Finish();

private:
    void Work();
    void EncodeOne(const ReadBackImage& picture);
    void RethrowFailure();

    std::unique_ptr<VideoFile> file;
    std::unique_ptr<Soundtrack> soundtrack;
    unsigned fps;
    int64_t encoded = 0;
    int64_t soundGiven = 0; // stereo frames handed to the file
    std::vector<float> soundBuffer;

    std::mutex mutex;
    std::condition_variable changed;
    std::deque<ReadBackImage> queue;
    bool closing = false;
    std::exception_ptr failure;
    std::thread worker;
};
