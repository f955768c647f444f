// Faults and bad input: nothing leaks or is left behind, nothing outside the listed names is
// ended, nothing is written outside the program's folder, and a failure is never reported as
// success.
#include <windows.h>

#include <tlhelp32.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "check.h"
#include "commands/commands.h"
#include "driver.h"
#include "process/process.h"
#include "scene.h"

using namespace scene;

namespace {

const char* const kListed[] = {"TslGame.exe", "TslGame_BE.exe", "iigw_server.exe", "steamwebhelper.exe", "steam.exe"};

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do
            names.push_back(found.cFileName);
        while (FindNextFileA(search, &found));
        FindClose(search);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Clicks a button and waits for its command; true when it showed the failure box (answered OK).
bool ClickShowsFailureBox(const Program& program, Row button) {
    driver::BoxCloser closer(program.process.pid);
    driver::Click(program.Control(button));
    return closer.Stop();
}

// True when a listed name of the button's command is still in the process table.
bool AnyListedLeft(Row button) {
    for (const char* name : kListed) {
        if (button == k按钮1 && (name == kListed[3] || name == kListed[4]))
            continue;
        if (FindProcessId(name))
            return true;
    }
    return false;
}

HANDLE WINAPI NoSnapshot(DWORD, DWORD) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return INVALID_HANDLE_VALUE;
}

}  // namespace

static void NothingLeaksOverManyLookupsAndClicks() {
    // Lookups in this process.
    for (int round = 0; round < 2; round++) {
        int before = driver::CountHandles(GetCurrentProcess());
        for (int i = 0; i < 50; i++) {
            ProcessExists("steam.exe");
            FindProcessId("TslGame.exe");
            KillProcessByName("no such process.exe");
            EndProcessByTitleOrName("no such process.exe");
        }
        int after = driver::CountHandles(GetCurrentProcess());
        CHECKF(after == before, "handles %d before, %d after", before, after);
    }

    // Clicks on the real program, once both buttons are enabled and every target is gone.
    const std::string folder = "C:\\fq\\leaks";
    Dummies d;
    Process game = d.Add("C:\\fq\\game", "TslGame.exe"), steam = d.Add("C:\\fq\\steam", "steam.exe");
    Program program(folder);
    if (!CHECK(program.window))
        return;
    driver::End(game);
    driver::End(steam);
    auto counts = [&] {
        return std::vector<long>{driver::CountHandles(program.process.handle),
                                 (long)GetGuiResources(program.process.handle, GR_GDIOBJECTS),
                                 (long)GetGuiResources(program.process.handle, GR_USEROBJECTS)};
    };
    driver::Click(program.Control(k按钮1));  // first use loads what later clicks reuse
    driver::Click(program.Control(k按钮2));
    std::vector<long> before = counts();
    for (int i = 0; i < 20; i++) {
        driver::Click(program.Control(k按钮1));
        driver::Click(program.Control(k按钮2));
    }
    std::vector<long> after = counts();
    std::printf("after 40 clicks: %ld handles, %ld GDI and %ld USER objects\n", after[0], after[1], after[2]);
    CHECKF(after == before, "handles/GDI/USER %ld/%ld/%ld before, %ld/%ld/%ld after", before[0], before[1], before[2],
           after[0], after[1], after[2]);
    CHECK(program.Report() == kGameAndSteamReport);
    CHECK(FilesIn(folder) == (std::vector<std::string>{".", "..", "forcequit.exe"}));
}

static void WithoutASnapshotNothingCountsAsEnded() {
    TakeSnapshot = NoSnapshot;
    const char* const names[] = {"steam.exe", "TslGame.exe"};
    bool present[2] = {true, true};
    CHECK(!LookUpProcesses(names, 2, present));
    CHECK(!present[0] && !present[1]);  // so the start-up check disables both buttons, as before
    CHECK(!ProcessExists("steam.exe"));
    CHECK(FindProcessId("steam.exe") == 0);
    CHECK(!KillProcessByName("steam.exe"));
    CHECK(!EndProcessByTitleOrName("steam.exe"));

    // Both commands, in this process: the after-check cannot look, so the failure box shows.
    LoadWindow(MainWindow);
    HWND box = GetDlgItem(FindWindowA("forcequit", nullptr), ControlId(编辑框2.row));
    for (void (*command)() : {EndGameCommand, EndGameAndSteamCommand}) {
        driver::BoxCloser closer(GetCurrentProcessId());
        command();
        CHECK(closer.Stop());
        CHECK(driver::Text(box) == kNote);
    }
    DestroyWindow(FindWindowA("forcequit", nullptr));
    TakeSnapshot = CreateToolhelp32Snapshot;
    CHECK(LookUpProcesses(names, 2, present));
    CHECK(!ProcessExists("no such process.exe"));
}

static void ScriptThatCannotBeWrittenIsNeverRun() {
    // Something of someone else's stands at the script's path. The write fails, so nothing is
    // run in the script's place, the game survives, the failure box says so, and the blocker is
    // left exactly as it was.
    const std::string planted = "echo ran> marker.txt\r\n";
    struct {
        const char* what;
        std::function<void(const std::string& path)> place;
    } cases[] = {
        {"file held open for reading only",
         [&](const std::string& path) {
             driver::WriteWholeFile(path, planted);
             // Kept open, sharing only reading, till the end of the test program.
             CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
         }},
        {"folder", [&](const std::string& path) { CreateDirectoryA(path.c_str(), nullptr); }},
    };
    int i = 0;
    for (auto& c : cases) {
        const std::string folder = "C:\\fq\\blocked" + std::to_string(i++);
        const std::string path = folder + "\\" + kScript;
        Dummies d;
        Process game = d.Add("C:\\fq\\game", "TslGame.exe");
        driver::MakeFolders(folder);
        c.place(path);
        Program program(folder);
        if (!CHECK(program.window))
            continue;
        std::vector<std::string> before = FilesIn(folder);
        CHECKF(ClickShowsFailureBox(program, k按钮1), "%s", c.what);
        CHECKF(driver::IsRunning(game), "%s", c.what);
        CHECKF(program.Report() == kNote, "%s", c.what);
        CHECKF(FilesIn(folder) == before, "%s: the folder changed", c.what);
        DWORD attributes = GetFileAttributesA(path.c_str());
        CHECKF(attributes != INVALID_FILE_ATTRIBUTES, "%s is gone", c.what);
        if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
            CHECKF(driver::ReadWholeFile(path) == planted, "%s was changed", c.what);
    }
}

static void ProgramFoldersAnywhere() {
    // Each folder either works or fails with the failure box; the script never lands outside
    // the program's folder, nor in the directory the program was started from.
    const std::string cwd = "C:\\fq\\cwd";
    std::string deep = "C:\\fq\\deep";
    while (deep.size() < 240)
        deep += "\\abcdefghijklmnopqrstuvwxyz";
    deep.resize(240);
    std::string deeper = deep + "\\x123";  // the program's path is 259 bytes: the script's is longer
    struct {
        std::string folder;
        std::string parent;
    } cases[] = {
        // Spaces and 乗 (0x81 0x5C in GBK). A program planted at C:\fq\My.exe would run if the
        // script's path reached the command line unquoted, leaving C:\fq\My.exe.ran behind.
        {"C:\\fq\\My Games\\强制乗 工具", "C:\\fq\\My Games"},
        {"C:", ""},  // the root of a drive
        {deep, deep.substr(0, deep.rfind('\\'))},
        {deeper, deep},
    };
    driver::MakeFolders(cwd);
    driver::PlaceDummy("C:\\fq\\My.exe");
    for (auto& c : cases) {
        Dummies d;
        d.Add("C:\\fq\\game", "TslGame.exe");
        d.Add("C:\\fq\\game", "iigw_server.exe");
        Program program(c.folder, cwd.c_str());
        if (!CHECKF(program.window, "%s", c.folder.c_str()))
            continue;
        bool failed = ClickShowsFailureBox(program, k按钮1);
        CHECKF(failed == AnyListedLeft(k按钮1), "%s: the outcome shown is not the table's", c.folder.c_str());
        CHECKF(program.Report() == (failed ? kNote : kGameReport), "%s", c.folder.c_str());
        std::printf("%u-byte folder: %s\n", (unsigned)c.folder.size(), failed ? "failure box" : "ended, report");
        for (const std::string& place : {c.folder + "\\" + kScript, c.folder + kScript, c.parent + "\\" + kScript,
                                         cwd + "\\" + kScript, driver::BuildDir() + "\\" + kScript})
            CHECKF(!driver::FileExists(place), "left %s", place.c_str());
        CHECK(!driver::FileExists("C:\\fq\\My.exe.ran"));
        driver::End(program.process);
        DeleteFileA((c.folder + "\\forcequit.exe").c_str());
    }
}

static void OnlyListedProcessesEndAndTheOutcomeMatchesTheTable() {
    struct Case {
        const char* what;
        Row button;
        std::vector<std::pair<std::string, std::string>> listed;  // name, dummy arguments
    } cases[] = {
        {"several of one name, other letter cases", k按钮1,
         {{"TslGame.exe", ""}, {"TSLGAME.EXE", ""}, {"tslgame.exe", ""}, {"IIGW_SERVER.EXE", ""}}},
        {"Steam, with a window titled steam.exe elsewhere", k按钮2, {{"TslGame.exe", ""}, {"Steam.exe", ""}}},
        {"a watchdog restarts the game", k按钮1,
         {{"TslGame.exe", ""}, {"watchdog.exe", "respawn C:\\fq\\w\\TslGame_BE.exe"}}},
    };
    int i = 0;
    for (auto& c : cases) {
        Dummies d;
        std::vector<Process> listed;
        int n = 0;
        driver::PlaceDummy("C:\\fq\\w\\TslGame_BE.exe");
        for (auto& [name, args] : c.listed)
            listed.push_back(d.Add("C:\\fq\\r" + std::to_string(n++), name, args));
        Process notepad = d.Add("C:\\fq\\by", "notepad.exe", "window steam.exe");
        Process helperLike = d.Add("C:\\fq\\by", "steam.exe.bak.exe");
        Program program("C:\\fq\\resist" + std::to_string(i++));
        if (!CHECK(program.window))
            continue;
        bool failed = ClickShowsFailureBox(program, c.button);
        CHECKF(failed == AnyListedLeft(c.button), "%s: the outcome shown is not the table's", c.what);
        CHECKF(driver::IsRunning(notepad) && driver::IsRunning(helperLike), "%s: a bystander was ended", c.what);
        std::printf("%s: %s\n", c.what, failed ? "failure box" : "report");
        for (auto& p : d.all)
            driver::End(p);
        driver::EndAllNamed("TslGame_BE.exe");  // the watchdog's last child
    }
}

static void PlantedTaskkillNeverRuns() {
    // A taskkill of someone else's beside the program: the interpreter must find the system's.
    const std::string folder = "C:\\fq\\downloads";
    driver::MakeFolders(folder);
    for (const char* ext : {"bat", "cmd"}) {
        driver::WriteWholeFile(folder + "\\taskkill." + ext,
                               std::string("@echo planted> \"") + folder + "\\taskkill-" + ext + ".ran\"\r\n");
    }
    driver::PlaceDummy(folder + "\\taskkill.exe");
    Dummies d;
    Process game = d.Add("C:\\fq\\game", "TslGame.exe"), be = d.Add("C:\\fq\\game", "TslGame_BE.exe");
    Program program(folder);
    if (!CHECK(program.window))
        return;
    CHECK(!ClickShowsFailureBox(program, k按钮1));
    CHECK(driver::WaitExit(game, 5000) && driver::WaitExit(be, 5000));
    for (const char* marker : {"\\taskkill-bat.ran", "\\taskkill-cmd.ran", "\\taskkill.exe.ran"})
        CHECKF(!driver::FileExists(folder + marker), "%s", marker);
}

int main(int argc, char** argv) {
    check::Init(argc, argv);
    RUN(NothingLeaksOverManyLookupsAndClicks);
    RUN(WithoutASnapshotNothingCountsAsEnded);
    RUN(ScriptThatCannotBeWrittenIsNeverRun);
    RUN(ProgramFoldersAnywhere);
    RUN(OnlyListedProcessesEndAndTheOutcomeMatchesTheTable);
    RUN(PlantedTaskkillNeverRuns);
    driver::RemoveTree("C:\\fq");
    return check::Summary();
}
