#include "ui/core/base/XmlDocument.h"

#include <cstring>

#include "ui/core/base/CodePage.h"
#include "ui/core/base/Heap.h"
#include "ui/core/base/TextStep.h"

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

const char* MessageOf(ReadResult result, const char* outOfMemory)
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
        return outOfMemory;
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
    // A pipe or a device is no file: its size says nothing, and a read may wait for ever.
    if (file.handle == INVALID_HANDLE_VALUE || GetFileType(file.handle) != FILE_TYPE_DISK)
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
    // Without O_NONBLOCK, opening a FIFO would wait for a writer; it is refused below.
    FileHandle file{open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
    struct stat status = {};
    // A directory does not open on Windows either; nor is anything but a file read.
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

// Offsets into the text are 32-bit; one more byte holds the terminator.
const std::size_t kMaxTextLength = 0xFFFFFFFEu;
const char kTextTooLarge[] = "Text too large";

}  // namespace

const char CXmlDocument::kOutOfMemory[] = "Out of memory";

namespace {

// Counts the line and column on from text (a character boundary) to stop; a double-byte
// character is one column. The place reached, which may lie beyond stop when a character
// straddles it.
const char* CountOn(const char* text, const char* stop, int* line, int* column)
{
    const char* p = text;
    for (; p < stop && *p != '\0'; p = NextChar(p)) {
        if (*p == '\n') {
            ++*line;
            *column = 1;
        } else {
            ++*column;
        }
    }
    return p;
}

// The 1-based line and column of stop in text.
void CountPlace(const char* text, const char* stop, int* line, int* column)
{
    *line = 1;
    *column = 1;
    CountOn(text, stop, line, column);
}

}  // namespace

void CXmlDocument::Locate(const char* pristine)
{
    CountPlace(pristine, pristine + m_errorOffset, &m_errorLine, &m_errorColumn);
}

bool CXmlDocument::KeepOriginal()
{
    if (!m_keepOriginal)
        return true;
    m_original = static_cast<char*>(Heap::Allocate(m_textLength + 1));
    if (m_original == nullptr)
        return false;
    std::memcpy(m_original, m_text, m_textLength + 1);
    MarkPlaces();
    return true;
}

void CXmlDocument::MarkPlaces()
{
    // Mark k stands at the first character boundary at or after k spacings, so there are
    // at most length / spacing + 1 of them.
    const std::size_t capacity = m_textLength / kPlaceMarkSpacing + 1;
    m_placeMarks = static_cast<TPlaceMark*>(Heap::Allocate(capacity * sizeof(TPlaceMark)));
    if (m_placeMarks == nullptr)
        return;
    TPlaceMark mark = {0, 1, 1};
    const char* p = m_original;
    const char* const end = m_original + m_textLength;
    while (m_placeMarkCount < capacity) {
        mark.offset = static_cast<std::size_t>(p - m_original);
        m_placeMarks[m_placeMarkCount++] = mark;
        const std::size_t next = m_placeMarkCount * kPlaceMarkSpacing;
        if (next > m_textLength)
            break;
        p = CountOn(p, m_original + next, &mark.line, &mark.column);
        if (p >= end || *p == '\0')
            break;
    }
}

bool CXmlDocument::GetPlace(const char* at, int* line, int* column) const
{
    if (m_original == nullptr || at < m_text || at > m_text + m_textLength)
        return false;
    const std::size_t offset = static_cast<std::size_t>(at - m_text);
    if (m_placeMarkCount == 0) {
        CountPlace(m_original, m_original + offset, line, column);
        return true;
    }
    std::size_t index = offset / kPlaceMarkSpacing;
    if (index >= m_placeMarkCount)
        index = m_placeMarkCount - 1;
    while (index > 0 && m_placeMarks[index].offset > offset)
        --index;
    const TPlaceMark& mark = m_placeMarks[index];
    *line = mark.line;
    *column = mark.column;
    CountOn(m_original + mark.offset, m_original + offset, line, column);
    return true;
}

bool CXmlDocument::LoadFromString(const char* text)
{
    Release();
    ClearError();
    const std::size_t length = std::strlen(text);
    if (length > kMaxTextLength)
        return Fail(kTextTooLarge);
    m_text = static_cast<char*>(Heap::Allocate(length + 1));
    if (m_text == nullptr)
        return Fail(kOutOfMemory);
    std::memcpy(m_text, text, length + 1);
    m_textLength = length;
    if (!KeepOriginal()) {
        Release();
        return Fail(kOutOfMemory);
    }
    if (Parse())
        return true;
    Locate(text);
    Release();
    return false;
}

bool CXmlDocument::LoadFromMemory(const void* bytes, std::size_t length)
{
    Release();
    ClearError();
    const char* utf8 = static_cast<const char*>(bytes);
    if (length > 2 && std::memcmp(utf8, "\xEF\xBB\xBF", 3) == 0) {
        utf8 += 3;
        length -= 3;
    }
    std::size_t textLength = 0;
    m_text = Utf8ToAnsi(utf8, length, &textLength);
    if (m_text == nullptr)
        return Fail(kOutOfMemory);
    if (textLength > kMaxTextLength) {
        Release();
        return Fail(kTextTooLarge);
    }
    m_textLength = textLength;
    if (!KeepOriginal()) {
        Release();
        return Fail(kOutOfMemory);
    }
    if (Parse())
        return true;
    // The parse wrote into the text; a second conversion gives it back as it was.
    Release();
    char* pristine = Utf8ToAnsi(utf8, length, &textLength);
    if (pristine != nullptr)
        Locate(pristine);
    Heap::Release(pristine);
    return false;
}

bool CXmlDocument::LoadFromPath(const char* path)
{
    Release();
    ClearError();
    Buffer buffer;
    const ReadResult result = ReadWholeFile(path, buffer);
    if (result != ReadResult::kRead)
        return Fail(MessageOf(result, kOutOfMemory));
    return LoadFromMemory(buffer.bytes, buffer.length);
}

}  // namespace Veneer
