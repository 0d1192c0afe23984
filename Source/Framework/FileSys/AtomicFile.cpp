#include "Framework/FileSys/AtomicFile.h"

#include "Framework/FrameworkEx.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

AtomicFile::AtomicFile(std::string finalPath) : path(std::move(finalPath))
{
    // Beside the final name, so that the rename stays on one file system; the process number keeps
    // two runs writing the same name apart.
    temporary = path + ".partial-" + std::to_string(getpid());
    // Never through a link planted under the temporary name.
    descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (descriptor < 0)
        throw FrameworkEx(path + ": cannot open the file for writing: " + std::strerror(errno));
}

AtomicFile::~AtomicFile()
{
    if (!committed)
        Discard();
}

void AtomicFile::Discard()
{
    if (descriptor >= 0)
        ::close(descriptor);
    descriptor = -1;
    std::remove(temporary.c_str());
}

void AtomicFile::Fail(const std::string& fault, int error)
{
    Discard();
    throw FrameworkEx(path + ": " + fault + ": " + std::strerror(error));
}

void AtomicFile::Write(const void* data, size_t size)
{
    if (descriptor < 0)
        throw FrameworkEx(path + ": written after it was committed or given up");
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = ::write(descriptor, bytes, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) // 0 would be a disk that takes nothing without saying why
            Fail("could not write the whole file", written < 0 ? errno : ENOSPC);
        bytes += written;
        size -= static_cast<size_t>(written);
    }
}

void AtomicFile::Commit()
{
    if (descriptor < 0)
        throw FrameworkEx(path + ": committed twice or after it was given up");
    // A file system may take the bytes and only find at the flush or close that they do not fit.
    if (::fsync(descriptor) != 0)
        Fail("could not write the whole file", errno);
    const int closed = ::close(descriptor);
    descriptor = -1;
    if (closed != 0)
        Fail("could not write the whole file", errno);
    if (std::rename(temporary.c_str(), path.c_str()) != 0)
        Fail("cannot put the file in place", errno);
    committed = true;
}
