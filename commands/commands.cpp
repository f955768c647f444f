#include "commands/commands.h"

#include <iterator>

#include "app/main_window.h"
#include "commands/kill_script.h"
#include "process/process.h"

namespace {

// What sets one kill command apart from the other.
struct KillCommand {
    const char* const* afterCheck;  // the names that must be gone afterwards
    size_t afterCheckCount;
    const char* report;  // shown in the right-hand box when all of them are gone
    void (*afterScript)();  // ends more, once the script has run; may be null
};

constexpr const char* kGameProcesses[] = {"TslGame.exe", "TslGame_BE.exe", "iigw_server.exe"};

constexpr const char* kGameAndSteamProcesses[] = {"TslGame.exe", "TslGame_BE.exe", "iigw_server.exe",
                                                  "steamwebhelper.exe", "steam.exe"};

// A heading and one success line per process looked at, an empty line between any two.
constexpr char kGameReport[] = "进程状态\r\n\r\n结束成功\r\n\r\n结束成功\r\n\r\n结束成功";
constexpr char kGameAndSteamReport[] =
    "进程状态\r\n\r\n结束成功\r\n\r\n结束成功\r\n\r\n结束成功\r\n\r\n结束成功\r\n\r\n结束成功";
// The after-check keeps one answer per name of the longer list.
static_assert(std::size(kGameProcesses) <= std::size(kGameAndSteamProcesses), "after-check room");

static_assert(sizeof kGameReport - 1 == 44 && sizeof kGameAndSteamReport - 1 == 68, "the reports are fixed");

// Steam's client is ended directly, one process per step; its web helper is only looked at.
void EndSteam() {
    KillProcessByName("steam.exe");
    EndProcessByTitleOrName("steam.exe");
}

// True unless the process table was read and lists none of the names: a table that cannot be
// read proves nothing gone.
bool AnyMayBeLeft(const KillCommand& command) {
    bool present[std::size(kGameAndSteamProcesses)];  // room for the longest list (asserted above)
    if (!LookUpProcesses(command.afterCheck, command.afterCheckCount, present))
        return true;
    for (size_t i = 0; i < command.afterCheckCount; i++)
        if (present[i])
            return true;
    return false;
}

// The steps' own results are not shown: what the user is told comes from the process table.
void RunKillCommand(const KillCommand& command) {
    // Only a script this program has just written is run: if the write failed, whatever file
    // stands at that path belongs to someone else.
    if (WriteKillScript())
        RunKillScript();
    if (command.afterScript)
        command.afterScript();
    Pause(500);
    DeleteKillScript();
    if (AnyMayBeLeft(command))
        MessageBoxA(nullptr, "我能力有限没帮到您", "结束失败", MB_OK | MB_TASKMODAL);
    else
        SetContent(编辑框2, command.report);
}

}  // namespace

void EndGameCommand() {
    RunKillCommand({kGameProcesses, std::size(kGameProcesses), kGameReport, nullptr});
}

void EndGameAndSteamCommand() {
    RunKillCommand({kGameAndSteamProcesses, std::size(kGameAndSteamProcesses), kGameAndSteamReport, EndSteam});
}
