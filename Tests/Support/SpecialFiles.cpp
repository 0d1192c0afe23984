#include "Support/SpecialFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <stdexcept>
#include <thread>

bool MakeFullDevice(const std::string& path)
{
    return ::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 7)) == 0;
}

std::string ReadPipeWhile(const std::string& path, const std::function<void()>& write)
{
    if (::mkfifo(path.c_str(), 0666) != 0)
        throw std::runtime_error(path + ": cannot make the pipe");
    // Opened without waiting for a writer, so that a writer that never comes cannot hang the test.
    const int reader = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (reader < 0)
        throw std::runtime_error(path + ": cannot open the pipe");
    std::atomic<bool> written{false};
    std::string received;
    std::thread reading([&] {
        char buffer[4096];
        for (;;) {
            const ssize_t got = ::read(reader, buffer, sizeof buffer);
            if (got > 0)
                received.append(buffer, static_cast<size_t>(got));
            else if (got == 0 && written)
                return; // no writer left, and none to come
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    try {
        write();
    } catch (...) {
        written = true;
        reading.join();
        ::close(reader);
        throw;
    }
    written = true;
    reading.join();
    ::close(reader);
    return received;
}
