// The buttons' commands end to end: the real program, real dummy processes under the target
// names, the real command interpreter and taskkill, the report or the failure box read back.
#include <windows.h>

#include <string>
#include <vector>

#include "check.h"
#include "driver.h"
#include "scene.h"

using driver::Process;
using namespace scene;


static void EndGameEndsTheThreeAndReports() {
    const std::string folder = "C:\\fq\\tools\\Kill";
    Dummies d;
    Process game = d.Add("C:\\fq\\game", "TslGame.exe"), be = d.Add("C:\\fq\\game", "TslGame_BE.exe"),
            server = d.Add("C:\\fq\\game", "iigw_server.exe"), steam = d.Add("C:\\fq\\steam", "steam.exe"),
            helper = d.Add("C:\\fq\\steam", "steamwebhelper.exe");
    Program program(folder);
    if (!CHECK(program.window))
        return;
    DWORD elapsed = 0;
    CHECK(driver::Click(program.Control(k按钮1), &elapsed));
    std::printf("one click: %lu ms\n", elapsed);
    CHECKF(elapsed >= 500, "the click took %lu ms", elapsed);  // the pause is part of it
    for (Process* p : {&game, &be, &server})
        CHECK(driver::WaitExit(*p, 5000));
    CHECK(driver::IsRunning(steam) && driver::IsRunning(helper));  // Steam is left alone
    std::string report = program.Report();
    CHECKF(report == kGameReport && report.size() == 44, "report of %u bytes", (unsigned)report.size());
    CHECK(NoScriptLeft(folder));
    CHECK(IsWindowEnabled(program.Control(k按钮1)) && IsWindowEnabled(program.Control(k按钮2)));

    // With nothing left to end, a second click writes the report again over whatever is there.
    SendMessageA(program.Control(k编辑框2), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("x"));
    CHECK(driver::Click(program.Control(k按钮1)));
    CHECK(program.Report() == kGameReport);
    CHECK(NoScriptLeft(folder));
    CHECK(driver::CloseAndWait(program.process, program.window) == 0);
}

static void MouseClicksReachOnlyAnEnabledButton() {
    const std::string folder = "C:\\fq\\mouse";
    Dummies d;
    Process game = d.Add("C:\\fq\\game", "TslGame.exe");
    Program program(folder);
    if (!CHECK(program.window) || !CHECK(driver::Activate(program.window)))
        return;
    auto centre = [&](Row row) {
        RECT r;
        GetWindowRect(program.Control(row), &r);
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    };
    driver::ClickAt(centre(k按钮1));
    CHECK(driver::WaitExit(game, 10000));
    driver::Settle(program.window);
    CHECK(program.Report() == kGameReport);

    // A game started after the program leaves the disabled state as it was, in a second copy.
    Program second(folder + "2");
    Process late = d.Add("C:\\fq\\late", "TslGame.exe");
    if (!CHECK(second.window) || !CHECK(driver::Activate(second.window)))
        return;
    CHECK(!IsWindowEnabled(second.Control(k按钮1)));
    driver::ClickAt(centre(k按钮1));
    driver::PressKey(VK_SPACE);
    driver::Settle(second.window);
    Sleep(1000);
    CHECK(driver::IsRunning(late));
    CHECK(second.Report() == kNote);
}

static void SurvivorGivesTheFailureBox() {
    Dummies d;
    Process game = d.Add("C:\\fq\\game", "TslGame.exe");
    driver::PlaceDummy("C:\\fq\\game2\\TslGame_BE.exe");
    Process& watchdog = d.Add("C:\\fq\\watch", "watchdog.exe", "respawn C:\\fq\\game2\\TslGame_BE.exe");
    Program program("C:\\fq\\survivor");
    if (!CHECK(program.window))
        return;
    PostMessageA(program.Control(k按钮1), BM_CLICK, 0, 0);
    CheckFailureBoxAndClose(program);
    CHECK(program.Report() == kNote);  // unchanged
    CHECK(driver::WaitExit(game, 100));  // the script did its part
    CHECK(NoScriptLeft("C:\\fq\\survivor"));
    driver::End(watchdog);
    driver::EndAllNamed("TslGame_BE.exe");  // the watchdog's last child
}

static void SteamButtonEndsGameAndSteam() {
    struct {
        int steams;        // steam.exe processes running; each of the two Steam steps ends one
        bool webHelper;    // steamwebhelper.exe is looked at, never ended
        bool succeeds;
    } cases[] = {
        {1, false, true},
        {2, false, true},
        {3, false, false},
        {1, true, false},
    };
    int i = 0;
    for (auto& c : cases) {
        const std::string folder = "C:\\fq\\steam" + std::to_string(i);
        Dummies d;
        std::vector<Process> game = {d.Add(folder + "\\game", "TslGame.exe"), d.Add(folder + "\\game", "TslGame_BE.exe"),
                                     d.Add(folder + "\\game", "iigw_server.exe")};
        std::vector<Process> steam;
        for (int s = 0; s < c.steams; s++)
            steam.push_back(d.Add(folder + "\\s" + std::to_string(s), s == 1 ? "STEAM.EXE" : "steam.exe"));
        Process helper = c.webHelper ? d.Add(folder + "\\s0", "steamwebhelper.exe") : Process{};
        Program program(folder + "\\tool");
        if (!CHECK(program.window))
            continue;
        CHECK(IsWindowEnabled(program.Control(k按钮2)));
        if (c.succeeds) {
            CHECK(driver::Click(program.Control(k按钮2)));
            std::string report = program.Report();
            CHECKF(report == kGameAndSteamReport && report.size() == 68, "case %d: report of %u bytes", i,
                   (unsigned)report.size());
        } else {
            PostMessageA(program.Control(k按钮2), BM_CLICK, 0, 0);
            CheckFailureBoxAndClose(program);
            CHECKF(program.Report() == kNote, "case %d", i);
        }
        for (Process& p : game)
            CHECKF(driver::WaitExit(p, 5000), "case %d", i);
        int left = 0;
        for (Process& p : steam)
            left += driver::IsRunning(p);
        CHECKF(left == (c.steams > 2 ? c.steams - 2 : 0), "case %d: %d left", i, left);
        if (c.webHelper)
            CHECKF(driver::IsRunning(helper), "case %d", i);
        CHECK(NoScriptLeft(folder + "\\tool"));
        i++;
    }
}

int main(int argc, char** argv) {
    check::Init(argc, argv);
    RUN(EndGameEndsTheThreeAndReports);
    RUN(MouseClicksReachOnlyAnEnabledButton);
    RUN(SurvivorGivesTheFailureBox);
    RUN(SteamButtonEndsGameAndSteam);
    driver::RemoveTree("C:\\fq");
    return check::Summary();
}
