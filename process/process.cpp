#include "process/process.h"

#include <tlhelp32.h>

#include <stddef.h>
#include <string.h>

static_assert(offsetof(ProcessEntry, szExeFile) == offsetof(PROCESSENTRY32, szExeFile),
              "ProcessEntry must keep the system record's field layout");
static_assert(sizeof(PROCESSENTRY32::szExeFile) >= kMaxProcessName, "name area too small");

void FoldName(const char* name, char* out) {
    const unsigned char* in = reinterpret_cast<const unsigned char*>(name ? name : "");
    for (;;) {
        unsigned char c = *in++;
        *out++ = static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
        if (c == 0)
            return;
        if (c >= 0x80) {
            // Lead byte: its trail byte is copied unchanged; a NUL there still ends the text.
            c = *in++;
            *out++ = static_cast<char>(c);
            if (c == 0)
                return;
        }
    }
}

int CompareNames(const char* a, const char* b) {
    return strcmp(a ? a : "", b ? b : "");  // strcmp compares as unsigned char
}

bool NamesMatch(const char* listed, const char* wanted) {
    if (!listed)
        listed = "";
    if (!wanted)
        wanted = "";
    size_t length = strlen(wanted);
    if (length > kMaxProcessName || strlen(listed) != length)
        return false;  // folding keeps the length, so names of other lengths never match
    char a[kMaxProcessName + 1], b[kMaxProcessName + 1];
    FoldName(listed, a);
    FoldName(wanted, b);
    return CompareNames(a, b) == 0;
}

// Fetches the first or next snapshot entry into `entry`. The system's own record is the exchange
// buffer: it may fill the whole 260-byte name area, of which `entry` keeps the first 256 bytes.
static bool FetchEntry(HANDLE snapshot, ProcessEntry& entry, bool first) {
    PROCESSENTRY32 exchange;
    memset(&exchange, 0, sizeof exchange);
    memcpy(&exchange, &entry, sizeof entry);
    BOOL ok = first ? Process32First(snapshot, &exchange) : Process32Next(snapshot, &exchange);
    memcpy(&entry, &exchange, sizeof entry);
    return ok != FALSE;
}

SnapshotFunction TakeSnapshot = CreateToolhelp32Snapshot;

namespace {

enum class Presence {
    Absent,   // the process table was read and lists no such process
    Present,
    Unknown,  // the process table could not be read
};

}  // namespace

// Walks a fresh snapshot of the processes in the system's order, handing each entry's id and
// name to `visit` until it returns true: then the answer is Present. Absent when the whole list
// was walked; Unknown when there was no snapshot, or not even a first entry (a real process table
// always lists at least the caller).
template <class Visit>
static Presence WalkSnapshot(Visit visit) {
    HANDLE snapshot = TakeSnapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE || snapshot == nullptr)
        return Presence::Unknown;
    ProcessEntry entry = {};
    entry.dwSize = sizeof(PROCESSENTRY32);
    char name[kMaxProcessName + 1];
    Presence answer = FetchEntry(snapshot, entry, true) ? Presence::Absent : Presence::Unknown;
    for (bool ok = answer == Presence::Absent; ok; ok = FetchEntry(snapshot, entry, false)) {
        // The name may fill all 256 bytes without a NUL.
        memcpy(name, entry.szExeFile, kMaxProcessName);
        name[kMaxProcessName] = 0;
        if (visit(entry.th32ProcessID, name)) {
            answer = Presence::Present;
            break;
        }
    }
    CloseHandle(snapshot);
    return answer;
}

bool LookUpProcesses(const char* const* names, size_t count, bool* present) {
    for (size_t i = 0; i < count; i++)
        present[i] = false;
    // The whole table is walked once, each entry held against every name.
    Presence table = WalkSnapshot([&](DWORD, const char* listed) {
        for (size_t i = 0; i < count; i++)
            present[i] = present[i] || NamesMatch(listed, names[i]);
        return false;
    });
    return table == Presence::Absent;
}

bool ProcessExists(const char* name) {
    bool present;
    return LookUpProcesses(&name, 1, &present) && present;
}

DWORD FindProcessId(const char* name) {
    DWORD pid = 0;
    Presence found = WalkSnapshot([&](DWORD id, const char* listed) {
        pid = id;
        return NamesMatch(listed, name);
    });
    return found == Presence::Present ? pid : 0;
}

// Ends the process with exit code 0. True exactly when TerminateProcess reported success.
static bool TerminateById(DWORD pid) {
    if (pid == 0)
        return false;  // no such process; the system would refuse to open it anyway
    HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, pid);
    if (!process)
        return false;
    bool ended = TerminateProcess(process, 0) == TRUE;
    CloseHandle(process);
    return ended;
}

bool KillProcessByName(const char* name) {
    return TerminateById(FindProcessId(name));
}

// True when the process `pid` is listed under `name`.
static bool ProcessIsNamed(DWORD pid, const char* name) {
    return WalkSnapshot([&](DWORD id, const char* listed) { return id == pid && NamesMatch(listed, name); }) ==
           Presence::Present;
}

bool EndProcessByTitleOrName(const char* name) {
    if (!name || !*name)
        return false;
    DWORD pid = 0;
    if (HWND window = FindWindowA(nullptr, name)) {
        GetWindowThreadProcessId(window, &pid);
        // Any program may title a window "steam.exe": only a process of that name is ended.
        if (!ProcessIsNamed(pid, name))
            pid = 0;
    }
    if (pid == 0)
        pid = FindProcessId(name);
    return TerminateById(pid);
}
