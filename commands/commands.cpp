#include "commands/commands.h"

#include "app/main_window.h"
#include "commands/kill_script.h"
#include "process/process.h"

namespace {

// What sets one kill command apart from the other.
struct KillCommand {
    const char* const* afterCheck;  // the names that must be gone afterwards
    int afterCheckCount;
    const char* report;  // shown in the right-hand box when all of them are gone
};

constexpr const char* kGameProcesses[] = {"TslGame.exe", "TslGame_BE.exe", "iigw_server.exe"};

constexpr char kGameReport[] = "进程状态\r\n\r\n结束成功\r\n\r\n结束成功\r\n\r\n结束成功";
static_assert(sizeof kGameReport - 1 == 44, "the report is fixed");

bool AnyStillRunning(const KillCommand& command) {
    for (int i = 0; i < command.afterCheckCount; i++)
        if (ProcessExists(command.afterCheck[i]))
            return true;
    return false;
}

// The steps' own results are not shown: what the user is told comes from the process table.
void RunKillCommand(const KillCommand& command) {
    // Only a script this program has just written is run: if the write failed, whatever file
    // stands at that path belongs to someone else.
    if (WriteKillScript())
        RunKillScript();
    Pause(500);
    DeleteKillScript();
    if (AnyStillRunning(command))
        MessageBoxA(nullptr, "我能力有限没帮到您", "结束失败", MB_OK | MB_TASKMODAL);
    else
        SetContent(编辑框2, command.report);
}

}  // namespace

void EndGameCommand() {
    RunKillCommand({kGameProcesses, 3, kGameReport});
}

void EndGameAndSteamCommand() {}
