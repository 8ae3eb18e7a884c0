#include "ui/core/XmlDocument.h"

#include "ui/core/Heap.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace Veneer {
namespace {

enum class ReadResult { kRead, kNotOpened, kEmpty, kTooLarge, kShort, kNoMemory };

const char* MessageOf(ReadResult result)
{
    switch (result) {
    case ReadResult::kNotOpened:
        return "Error opening file";
    case ReadResult::kEmpty:
        return "File is empty";
    case ReadResult::kTooLarge:
        return "File too large";
    case ReadResult::kShort:
        return "Could not read file";
    default:
        return "Out of memory";
    }
}

struct Buffer {
    char* bytes = nullptr;
    std::size_t length = 0;
    ~Buffer() { Heap::Release(bytes); }
};

ReadResult CheckSize(unsigned long long size, Buffer& buffer)
{
    if (size == 0)
        return ReadResult::kEmpty;
    if (size > CXmlDocument::kMaxFileSize)
        return ReadResult::kTooLarge;
    buffer.length = static_cast<std::size_t>(size);
    buffer.bytes = static_cast<char*>(Heap::Allocate(buffer.length));
    return buffer.bytes != nullptr ? ReadResult::kRead : ReadResult::kNoMemory;
}

#ifdef _WIN32

struct FileHandle {
    HANDLE handle;
    ~FileHandle()
    {
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
    }
};

// Others may read the file meanwhile; nobody may write it.
ReadResult ReadWholeFile(const char* path, Buffer& buffer)
{
    FileHandle file{CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (file.handle == INVALID_HANDLE_VALUE)
        return ReadResult::kNotOpened;
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(file.handle, &size))
        return ReadResult::kShort;
    const ReadResult sized = CheckSize(static_cast<unsigned long long>(size.QuadPart), buffer);
    if (sized != ReadResult::kRead)
        return sized;
    DWORD read = 0;
    const DWORD wanted = static_cast<DWORD>(buffer.length);
    if (!ReadFile(file.handle, buffer.bytes, wanted, &read, nullptr) || read != wanted)
        return ReadResult::kShort;
    return ReadResult::kRead;
}

#else

struct FileHandle {
    int fd;
    ~FileHandle()
    {
        if (fd >= 0)
            close(fd);
    }
};

ReadResult ReadWholeFile(const char* path, Buffer& buffer)
{
    FileHandle file{open(path, O_RDONLY | O_CLOEXEC)};
    struct stat status = {};
    // A directory does not open on Windows either.
    if (file.fd < 0 || fstat(file.fd, &status) != 0 || !S_ISREG(status.st_mode))
        return ReadResult::kNotOpened;
    const ReadResult sized = CheckSize(static_cast<unsigned long long>(status.st_size), buffer);
    if (sized != ReadResult::kRead)
        return sized;
    std::size_t done = 0;
    while (done < buffer.length) {
        const ssize_t got = read(file.fd, buffer.bytes + done, buffer.length - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return ReadResult::kShort;
        done += static_cast<std::size_t>(got);
    }
    return ReadResult::kRead;
}

#endif

}  // namespace

bool CXmlDocument::LoadFromPath(const char* path)
{
    Release();
    ClearError();
    Buffer buffer;
    const ReadResult result = ReadWholeFile(path, buffer);
    if (result != ReadResult::kRead)
        return Fail(MessageOf(result));
    return LoadFromMemory(buffer.bytes, buffer.length);
}

}  // namespace Veneer
