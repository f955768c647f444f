// Process lookup: the folding and matching rules, then lookups against real dummy processes.
#include <windows.h>

#include <tlhelp32.h>

#include <cstring>
#include <string>

#include "check.h"
#include "driver.h"
#include "process/process.h"

using driver::Process;

static void FoldingChangesOnlyAsciiCapitals() {
    struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"", ""},
        {"Steam.EXE", "steam.exe"},
        {"@[`{AZaz09_.", "@[`{azaz09_."},           // the bytes around A-Z and a-z stay
        {"\x81\x41", "\x81\x41"},                    // a trail byte that looks like 'A' stays
        {"A\x81\x41" "A", "a\x81\x41" "a"},          // ...while capitals around the pair fold
        {"\xC4\xE3\xBA\xC3.EXE", "\xC4\xE3\xBA\xC3.exe"},  // GBK text untouched
        {"\x80Z", "\x80Z"},                          // every byte from 0x80 up leads a pair
        {"\xFF", "\xFF"},                            // a lead byte right before the NUL
        {"AB\xFE", "ab\xFE"},
    };
    for (auto& c : cases) {
        char out[32];
        memset(out, 'x', sizeof out);
        FoldName(c.in, out);
        CHECKF(strcmp(out, c.out) == 0 && out[strlen(c.in)] == 0, "fold \"%s\" gave \"%s\"", c.in, out);
    }
}

static void MatchingIsWholeNameAndCaseless() {
    std::string long256(256, 'a'), long257(257, 'a');
    struct {
        const char* listed;
        const char* wanted;
        bool match;
    } cases[] = {
        {"steam.exe", "steam.exe", true},
        {"Steam.exe", "steam.exe", true},
        {"STEAM.EXE", "steam.exe", true},
        {"steam.exe", "STEAM.EXE", true},
        {"TslGame_BE.exe", "TslGame.exe", false},  // whole names only, no prefixes
        {"TslGame.exe", "TslGame_BE.exe", false},
        {"TslGame.exe", "Game.exe", false},
        {"steamwebhelper.exe", "steam.exe", false},
        {"", "", true},  // the empty name matches only the empty name
        {"steam.exe", "", false},
        {"", "steam.exe", false},
        {nullptr, "", true},  // absent is empty
        {"", nullptr, true},
        {"\x81\x41.exe", "\x81\x61.exe", false},  // trail bytes are not folded
        {"\xB2\xE2\xCA\xD4.EXE", "\xB2\xE2\xCA\xD4.exe", true},
        {long256.c_str(), long256.c_str(), true},
        {long256.c_str(), long257.c_str(), false},  // a listed name holds at most 256 bytes
    };
    for (auto& c : cases)
        CHECKF(NamesMatch(c.listed, c.wanted) == c.match, "\"%s\" vs \"%s\"", c.listed ? c.listed : "(null)",
               c.wanted ? c.wanted : "(null)");

    CHECK(CompareNames("a", "b") < 0);
    CHECK(CompareNames("\x81", "a") > 0);  // bytes compare unsigned
    CHECK(CompareNames(nullptr, "") == 0);
}

// The identifier of the first process the system lists under exactly this name.
static DWORD FirstListed(const char* name) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 e = {};
    e.dwSize = sizeof e;
    DWORD pid = 0;
    for (BOOL ok = Process32First(snapshot, &e); ok && !pid; ok = Process32Next(snapshot, &e))
        if (_stricmp(e.szExeFile, name) == 0)
            pid = e.th32ProcessID;
    CloseHandle(snapshot);
    return pid;
}

static void LookupFindsRealProcesses() {
    const std::string dir = "C:\\fq\\lookup";
    Process game = driver::StartDummy(dir, "TslGame.exe");
    Process be = driver::StartDummy(dir, "TslGame_BE.exe");
    Process steam = driver::StartDummy(dir, "Steam.exe");
    Process steamUpper = driver::StartDummy(dir + "\\upper", "STEAM.EXE");

    struct {
        const char* name;
        DWORD pid;  // expected FindProcessId; 0: not running
    } cases[] = {
        {"TslGame.exe", game.pid},
        {"tslgame.EXE", game.pid},
        {"TslGame_BE.exe", be.pid},
        {"steam.exe", steam.pid},  // Steam.exe is listed before STEAM.EXE
        {"iigw_server.exe", 0},
        {"Game.exe", 0},
    };
    for (auto& c : cases) {
        CHECKF(ProcessExists(c.name) == (c.pid != 0), "ProcessExists(\"%s\")", c.name);
        DWORD pid = FindProcessId(c.name);
        CHECKF(pid == c.pid, "FindProcessId(\"%s\") = %lu, want %lu", c.name, pid, c.pid);
    }

    // Several names in one look.
    const char* const names[] = {"STEAM.EXE", "iigw_server.exe", "TslGame.exe", "TslGame.exe"};
    bool present[4] = {};
    CHECK(LookUpProcesses(names, 4, present));
    CHECK(present[0] && !present[1] && present[2] && present[3]);

    // With the first gone, the other letter case is still found.
    driver::End(steam);
    CHECK(FindProcessId("steam.exe") == steamUpper.pid);
    driver::End(steamUpper);
    CHECK(!ProcessExists("steam.exe"));
    CHECK(FindProcessId("steam.exe") == 0);
    driver::End(game);
    driver::End(be);
    CHECK(!ProcessExists("TslGame.exe"));
    driver::RemoveTree("C:\\fq");
}

static void FirstListedOfTwoWins() {
    Process a = driver::StartDummy("C:\\fq\\two\\a", "iigw_server.exe");
    Process b = driver::StartDummy("C:\\fq\\two\\b", "iigw_server.exe");
    DWORD first = FirstListed("iigw_server.exe");
    CHECK(first == a.pid || first == b.pid);
    CHECKF(FindProcessId("iigw_server.exe") == first, "first listed is %lu", first);
    CHECK(ProcessExists("IIGW_SERVER.EXE"));
    driver::End(a);
    driver::End(b);
    driver::RemoveTree("C:\\fq");
}

static void KillProcessByNameEndsTheFirstListedOnly() {
    Process a = driver::StartDummy("C:\\fq\\kill\\a", "Steam.exe");
    Process b = driver::StartDummy("C:\\fq\\kill\\b", "steam.exe");
    Process bystander = driver::StartDummy("C:\\fq\\kill", "notepad.exe");
    DWORD first = FirstListed("steam.exe");
    Process& firstOne = first == a.pid ? a : b;
    Process& other = first == a.pid ? b : a;
    CHECK(KillProcessByName("steam.exe"));  // either letter case is ended
    DWORD code = 1;
    CHECK(driver::WaitExit(firstOne, 5000, &code));
    CHECKF(code == 0, "exit code %lu", code);
    CHECK(driver::IsRunning(other));
    CHECK(KillProcessByName("STEAM.EXE"));
    CHECK(driver::WaitExit(other, 5000, &code) && code == 0);
    CHECK(!KillProcessByName("steam.exe"));  // none left: false, nothing ended
    CHECK(driver::IsRunning(bystander));
    driver::End(bystander);
    driver::RemoveTree("C:\\fq");
}

static bool WaitForSteamWindow() {
    for (int i = 0; i < 100 && !FindWindowA(nullptr, "steam.exe"); i++)
        Sleep(50);
    return FindWindowA(nullptr, "steam.exe") != nullptr;
}

static void EndProcessByTitleOrNameChecksTheWindowsOwner() {
    CHECK(!EndProcessByTitleOrName(""));
    CHECK(!EndProcessByTitleOrName(nullptr));
    CHECK(!EndProcessByTitleOrName("steam.exe"));  // nothing of that name or title

    // A steam.exe that owns a window titled "steam.exe" is ended through its window, even when
    // another steam.exe is listed first.
    Process plain = driver::StartDummy("C:\\fq\\title\\a", "steam.exe");
    Process titled = driver::StartDummy("C:\\fq\\title\\b", "steam.exe", "window steam.exe");
    WaitForSteamWindow();
    CHECK(FindProcessId("steam.exe") == plain.pid);
    DWORD code = 1;
    CHECK(EndProcessByTitleOrName("steam.exe"));
    CHECK(driver::WaitExit(titled, 5000, &code) && code == 0);
    CHECK(driver::IsRunning(plain));

    // Another program's window with that title is no reason to end it: the walk finds steam.exe.
    Process impostor = driver::StartDummy("C:\\fq\\title", "notepad.exe", "window steam.exe");
    CHECK(WaitForSteamWindow());
    CHECK(EndProcessByTitleOrName("steam.exe"));
    CHECK(driver::WaitExit(plain, 5000, &code) && code == 0);
    CHECK(!EndProcessByTitleOrName("steam.exe"));  // only the impostor's window is left
    CHECK(driver::IsRunning(impostor));
    driver::End(impostor);
    driver::RemoveTree("C:\\fq");
}

int main(int argc, char** argv) {
    check::Init(argc, argv);
    RUN(FoldingChangesOnlyAsciiCapitals);
    RUN(MatchingIsWholeNameAndCaseless);
    RUN(LookupFindsRealProcesses);
    RUN(FirstListedOfTwoWins);
    RUN(KillProcessByNameEndsTheFirstListedOnly);
    RUN(EndProcessByTitleOrNameChecksTheWindowsOwner);
    return check::Summary();
}
