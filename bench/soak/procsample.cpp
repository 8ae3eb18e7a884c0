// procsample: reads a running program's resource counters from outside, for the soak run
// and the installer test.
//
//   procsample NAME            one line per process whose image is NAME (lorvik.exe):
//                              pid, private memory, handles, GDI objects, USER objects
//   procsample --window CLASS  prints the process id of a top-level window of that class;
//                              exit status 1 when there is none
//
// Windows answers every counter through the documented calls. Wine answers some of them
// with nothing (no handle count, GetGuiResources not implemented), so each of those has a
// fallback that counts the same objects another way; the line names the fallbacks used.
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

const char kUsage[] =
    "usage: procsample NAME | procsample --window CLASS\n"
    "  NAME            print pid, private memory (KB), handles, GDI and USER objects of every\n"
    "                  process whose image is NAME (for example lorvik.exe)\n"
    "  --window CLASS  print the process id of a top-level window of class CLASS; exit\n"
    "                  status 1 when there is none\n";

struct Handle {
    HANDLE h = nullptr;
    explicit Handle(HANDLE handle) : h(handle) {}
    ~Handle()
    {
        if (h && h != INVALID_HANDLE_VALUE)
            CloseHandle(h);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
};

struct Sample {
    unsigned long long privateKb = 0;
    unsigned long handles = 0;
    unsigned long gdi = 0;
    unsigned long user = 0;
    std::string fallbacks;
};

void NoteFallback(Sample* s, const char* what)
{
    s->fallbacks += s->fallbacks.empty() ? "" : ",";
    s->fallbacks += what;
}

// One row of the system handle list (SystemExtendedHandleInformation, class 64).
struct SystemHandleRow {
    void* object;
    ULONG_PTR processId;
    ULONG_PTR handle;
    ULONG access;
    USHORT creatorBackTrace;
    USHORT objectType;
    ULONG attributes;
    ULONG reserved;
};
struct SystemHandleList {
    ULONG_PTR count;
    ULONG_PTR reserved;
    SystemHandleRow rows[1];
};

typedef LONG(NTAPI* QuerySystemInformation)(ULONG, void*, ULONG, ULONG*);

unsigned long CountHandlesInSystemList(DWORD pid)
{
    const auto query = reinterpret_cast<QuerySystemInformation>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (!query)
        return 0;
    const LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);
    std::vector<char> buffer(1 << 16);
    LONG status;
    while ((status = query(64, buffer.data(), static_cast<ULONG>(buffer.size()), nullptr)) ==
               kInfoLengthMismatch &&
           buffer.size() < (1u << 28))
        buffer.resize(buffer.size() * 2);
    if (status != 0)
        return 0;
    const SystemHandleList* list = reinterpret_cast<const SystemHandleList*>(buffer.data());
    unsigned long count = 0;
    for (ULONG_PTR i = 0; i < list->count; ++i)
        count += list->rows[i].processId == pid;
    return count;
}

// A row of the GDI handle table that the process environment block points to.
struct GdiTableRow {
    std::uint64_t object;
    std::uint16_t owner;
    std::uint16_t count;
    std::uint16_t unique;  // bit 7: a stock object
    std::uint8_t type;     // 0: a free row
    std::uint8_t flags;
    std::uint64_t user;
};
const std::size_t kGdiTableRows = 0x10000;
const std::size_t kGdiTableOffsetInPeb = 0xF8;  // x64 PEB.GdiSharedHandleTable

// Wine keeps a GDI handle table per process and points the PEB at it, as Windows once did;
// its live rows that are not stock objects are the process's GDI objects.
unsigned long CountGdiTableRows(HANDLE process)
{
    PROCESS_BASIC_INFORMATION basic = {};
    ULONG length = 0;
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic,
                                  &length) != 0)
        return 0;
    std::uint64_t table = 0;
    SIZE_T read = 0;
    if (!ReadProcessMemory(
            process, reinterpret_cast<const char*>(basic.PebBaseAddress) + kGdiTableOffsetInPeb,
            &table, sizeof table, &read) ||
        !table)
        return 0;
    std::vector<GdiTableRow> rows(kGdiTableRows);
    if (!ReadProcessMemory(process,
                           reinterpret_cast<const void*>(static_cast<std::uintptr_t>(table)),
                           rows.data(), rows.size() * sizeof(GdiTableRow), &read))
        return 0;
    unsigned long count = 0;
    for (const GdiTableRow& row : rows)
        count += row.type != 0 && (row.unique & 0x80) == 0;
    return count;
}

struct WindowCount {
    DWORD pid;
    unsigned long count;
};

BOOL CALLBACK CountChild(HWND window, LPARAM state)
{
    WindowCount* c = reinterpret_cast<WindowCount*>(state);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    c->count += owner == c->pid;
    return TRUE;
}

BOOL CALLBACK CountTopLevel(HWND window, LPARAM state)
{
    CountChild(window, state);
    EnumChildWindows(window, CountChild, state);
    return TRUE;
}

// The process's windows, top-level, child and message-only: the USER objects that leak
// most often, though menus, cursors and icons are USER objects too and are not seen here.
unsigned long CountWindows(DWORD pid)
{
    WindowCount c = {pid, 0};
    EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&c));
    for (HWND w = FindWindowExA(HWND_MESSAGE, nullptr, nullptr, nullptr); w;
         w = FindWindowExA(HWND_MESSAGE, w, nullptr, nullptr))
        CountTopLevel(w, reinterpret_cast<LPARAM>(&c));
    return c.count;
}

bool Measure(DWORD pid, Sample* s)
{
    Handle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
    if (!process.h)
        return false;
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof memory;
    if (!GetProcessMemoryInfo(process.h, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                              sizeof memory))
        return false;
    // The commit charge: Windows gives it twice, Wine only in PagefileUsage.
    s->privateKb = (memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage) / 1024;
    DWORD handles = 0;
    if (GetProcessHandleCount(process.h, &handles) && handles != 0) {
        s->handles = handles;
    } else {
        s->handles = CountHandlesInSystemList(pid);
        NoteFallback(s, "handles:system-list");
    }
    SetLastError(0);
    s->gdi = GetGuiResources(process.h, GR_GDIOBJECTS);
    if (s->gdi == 0 && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED) {
        s->gdi = CountGdiTableRows(process.h);
        NoteFallback(s, "gdi:handle-table");
    }
    SetLastError(0);
    s->user = GetGuiResources(process.h, GR_USEROBJECTS);
    if (s->user == 0 && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED) {
        s->user = CountWindows(pid);
        NoteFallback(s, "user:windows-only");
    }
    return true;
}

int SampleProcesses(const char* image)
{
    Handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (snapshot.h == INVALID_HANDLE_VALUE)
        return 2;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    int found = 0;
    for (BOOL more = Process32First(snapshot.h, &entry); more;
         more = Process32Next(snapshot.h, &entry)) {
        if (lstrcmpiA(entry.szExeFile, image) != 0)
            continue;
        Sample s;
        if (!Measure(entry.th32ProcessID, &s)) {
            std::printf("pid=%lu unreadable\n", entry.th32ProcessID);
            continue;
        }
        std::printf("pid=%lu private_kb=%llu handles=%lu gdi=%lu user=%lu%s%s\n",
                    entry.th32ProcessID, s.privateKb, s.handles, s.gdi, s.user,
                    s.fallbacks.empty() ? "" : " fallbacks=", s.fallbacks.c_str());
        ++found;
    }
    if (!found)
        std::fprintf(stderr, "procsample: no process %s\n", image);
    return found ? 0 : 1;
}

int FindWindowOfClass(const char* className)
{
    HWND window = FindWindowA(className, nullptr);
    if (!window)
        return 1;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    std::printf("%lu\n", pid);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    int status = 2;
    if (argc == 2 && argv[1][0] != '-')
        status = SampleProcesses(argv[1]);
    else if (argc == 3 && std::string(argv[1]) == "--window")
        status = FindWindowOfClass(argv[2]);
    else
        std::fputs(kUsage, stderr);
    std::fflush(stdout);
    return status;
}
