#include "Framework/FileSys/AtomicFile.h"

#include "Framework/FrameworkEx.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

namespace {

// The file a chain of symbolic links ends at (the name itself when it is no link, and the last
// name of a chain whose end does not exist yet).
std::string FollowLinks(const std::string& path)
{
    std::string name = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat status {};
        if (::lstat(name.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
            return name;
        std::vector<char> target(static_cast<size_t>(status.st_size > 0 ? status.st_size : 255) + 1);
        const ssize_t length = ::readlink(name.c_str(), target.data(), target.size());
        if (length < 0 || static_cast<size_t>(length) >= target.size())
            return name; // changed under us: the open that follows reports what is wrong
        const std::string link(target.data(), static_cast<size_t>(length));
        const size_t slash = name.rfind('/');
        // A relative link is relative to the folder that holds it.
        name = (!link.empty() && link.front() == '/') || slash == std::string::npos ? link : name.substr(0, slash + 1) + link;
    }
    throw FrameworkEx(path + ": cannot open the file for writing: " + std::strerror(ELOOP));
}

const char* KindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return "a folder";
    if (S_ISFIFO(mode))
        return "a pipe";
    if (S_ISCHR(mode))
        return "a character device";
    if (S_ISBLK(mode))
        return "a block device";
    if (S_ISSOCK(mode))
        return "a socket";
    return "";
}

} // namespace

std::string SpecialFileKind(const std::string& path)
{
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 ? KindOf(status.st_mode) : "";
}

AtomicFile::AtomicFile(std::string finalPath) : path(std::move(finalPath)), target(FollowLinks(path))
{
    const std::string kind = SpecialFileKind(target);
    if (!kind.empty() && kind != "a folder") {
        // Replacing a device or a pipe would put a plain file where it was.
        inPlace = true;
        temporary = target;
        descriptor = ::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    } else {
        // Beside the file itself, so that the rename stays on one file system and a link to it
        // stays a link; the process number keeps two runs writing the same name apart.
        temporary = target + ".partial-" + std::to_string(getpid());
        // Never through a link planted under the temporary name.
        descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0666);
    }
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
    if (!inPlace)
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
    // A device or pipe has nothing to flush to a disk.
    if (!inPlace && ::fsync(descriptor) != 0)
        Fail("could not write the whole file", errno);
    const int closed = ::close(descriptor);
    descriptor = -1;
    if (closed != 0)
        Fail("could not write the whole file", errno);
    if (!inPlace && std::rename(temporary.c_str(), target.c_str()) != 0)
        Fail("cannot put the file in place", errno);
    committed = true;
}
