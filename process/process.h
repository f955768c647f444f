// Finding and ending processes by executable name.
#pragma once

#include <windows.h>

#include <stddef.h>

// One entry of a process snapshot: the nine fields of the system's ANSI process record,
// in its order, and the first 256 bytes of the executable's name.
struct ProcessEntry {
    DWORD dwSize;
    DWORD cntUsage;
    DWORD th32ProcessID;
    DWORD th32DefaultHeapID;
    DWORD th32ModuleID;
    DWORD cntThreads;
    DWORD th32ParentProcessID;
    LONG pcPriClassBase;
    DWORD dwFlags;
    char szExeFile[256];
};

// Longest name a snapshot entry can carry; a longer wanted name never matches.
constexpr size_t kMaxProcessName = sizeof(ProcessEntry::szExeFile);

// Copies `name` to `out` (room for strlen(name) + 1 bytes) with the letters A-Z in lower case.
// A byte of 0x80 or above starts a double-byte character: it and the byte after it are copied
// as they are, so a trail byte that looks like a capital is never changed. No locale is used.
void FoldName(const char* name, char* out);

// Three-way comparison of two texts as unsigned bytes up to their NUL; null counts as "".
int CompareNames(const char* a, const char* b);

// True when `listed` and `wanted` are the same whole name once both are folded.
bool NamesMatch(const char* listed, const char* wanted);

// Looks up several names in one fresh snapshot of the process table: `present[i]` tells whether
// a process called `names[i]` is listed (letter case of A-Z ignored). Returns false, with every
// answer false, when the process table could not be read.
bool LookUpProcesses(const char* const* names, size_t count, bool* present);

// True (1) when a fresh snapshot lists a process called `name`; false when none does or no
// snapshot can be had.
bool ProcessExists(const char* name);

// Identifier of the first listed process called `name`, or 0 when there is none or no snapshot.
DWORD FindProcessId(const char* name);

// Ends the first listed process called `name` with exit code 0. True exactly when the system
// reported the termination as done; false also when no such process runs.
bool KillProcessByName(const char* name);

// Ends one process called `name`: the owner of a top-level window titled `name` if there is one
// and it is called `name` itself, else the first listed process of that name. False for an empty
// name, when none is found, or when the termination fails.
bool EndProcessByTitleOrName(const char* name);

// Takes the process snapshots: CreateToolhelp32Snapshot, unless a test puts a failing one here.
using SnapshotFunction = HANDLE(WINAPI*)(DWORD flags, DWORD processId);
extern SnapshotFunction TakeSnapshot;
