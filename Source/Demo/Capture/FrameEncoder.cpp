#include "Demo/Capture/FrameEncoder.h"

#include <cmath>

FrameEncoder::FrameEncoder(std::unique_ptr<VideoFile> file, std::unique_ptr<Soundtrack> soundtrack, unsigned fps)
    : file(std::move(file)), soundtrack(std::move(soundtrack)), fps(fps), worker([this] { Work(); })
{
}

FrameEncoder::~FrameEncoder()
{
    {
        std::lock_guard lock(mutex);
        closing = true;
        queue.clear();
    }
    changed.notify_all();
    if (worker.joinable())
        worker.join();
}

void FrameEncoder::RethrowFailure()
{
    if (failure)
        std::rethrow_exception(failure);
}

void FrameEncoder::Push(ReadBackImage picture)
{
    std::unique_lock lock(mutex);
    changed.wait(lock, [&] { return queue.size() < QueueLength || failure; });
    RethrowFailure();
    queue.push_back(std::move(picture));
    lock.unlock();
    changed.notify_all();
}

void FrameEncoder::Finish()
{
    {
        std::lock_guard lock(mutex);
        closing = true;
    }
    changed.notify_all();
    worker.join();
    RethrowFailure();
    file->Finish();
}

void FrameEncoder::Work()
{
    for (;;) {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return !queue.empty() || closing; });
        if (queue.empty())
            return;
        ReadBackImage picture = std::move(queue.front());
        queue.pop_front();
        lock.unlock();
        changed.notify_all();
        try {
            EncodeOne(picture);
        } catch (...) {
            std::lock_guard failed(mutex);
            failure = std::current_exception();
            queue.clear();
            changed.notify_all();
            return;
        }
    }
}

void FrameEncoder::EncodeOne(const ReadBackImage& picture)
{
    file->AddPicture(picture.bgra.data(), size_t{picture.width} * 4);
    ++encoded;
    if (!soundtrack)
        return;
    // Whole samples up to the end of this picture, so that rounding never drifts.
    const int64_t due = static_cast<int64_t>(std::llround(static_cast<double>(encoded) * soundtrack->Rate() / fps));
    const int64_t missing = due - soundGiven;
    if (missing <= 0)
        return;
    soundBuffer.resize(static_cast<size_t>(missing) * 2);
    soundtrack->Read(soundBuffer.data(), static_cast<size_t>(missing));
    file->AddSound(soundBuffer.data(), static_cast<size_t>(missing));
    soundGiven = due;
}
