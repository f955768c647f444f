// What the end-to-end tests share: the program's texts, dummy processes that end with the test,
// the program started from a folder of its own, and the failure box as a user meets it.
#pragma once

#include <windows.h>

#include <deque>
#include <string>

#include "check.h"
#include "driver.h"

namespace scene {

using driver::Process;

enum Row { k按钮2, k编辑框2, k编辑框1, k按钮1 };

inline const char kNote[] =
    "游戏崩溃后因\r\n为进程原因久\r\n久无法重新开\r\n\r\n始游戏，女神\r\n\r\n特别的难过。\r\n为了不让女神\r\n难过就有了它";
inline const char kGameReport[] = "进程状态\r\n\r\n结束成功\r\n\r\n结束成功\r\n\r\n结束成功";
inline const char kGameAndSteamReport[] =
    "进程状态\r\n\r\n结束成功\r\n\r\n结束成功\r\n\r\n结束成功\r\n\r\n结束成功\r\n\r\n结束成功";
inline const char kScript[] = "强制结束PUBG.bat";

struct Dummies {
    std::deque<Process> all;  // references stay valid as dummies are added
    ~Dummies() {
        for (Process& p : all)
            driver::End(p);
    }
    Process& Add(const std::string& folder, const std::string& name, const std::string& args = "") {
        all.push_back(driver::StartDummy(folder, name, args));
        return all.back();
    }
};

// The program copied into `folder`, started, and its window once it is idle.
struct Program {
    Process process;
    HWND window = nullptr;
    // `directory`: the current directory to start it in (the test's own by default).
    explicit Program(const std::string& folder, const char* directory = nullptr) {
        process = driver::Start(driver::CopyProgram(folder), "", directory);
        window = driver::WaitForMainWindow(process);
    }
    ~Program() { driver::End(process); }
    HWND Control(Row row) const { return driver::Control(window, row); }
    std::string Report() const { return driver::Text(Control(k编辑框2)); }
};

// No script is left in the program's folder, nor in its parent under a glued name.
inline bool NoScriptLeft(const std::string& folder) {
    return !driver::FileExists(folder + "\\" + kScript) && !driver::FileExists(folder + kScript);
}

// The failure box as the user meets it: title, text, one OK button, no owner, the main window
// disabled while it is up. Closes it with OK.
inline void CheckFailureBoxAndClose(const Program& program) {
    HWND box = driver::WaitForMessageBox(program.process);
    if (!CHECK(box))
        return;
    CHECK(driver::Text(box) == "结束失败");
    CHECK(driver::Text(GetDlgItem(box, 0xFFFF)) == "我能力有限没帮到您");
    CHECK(GetDlgItem(box, IDOK) && !GetDlgItem(box, IDCANCEL));
    CHECK(GetWindow(box, GW_OWNER) == nullptr);
    CHECK(!IsWindowEnabled(program.window));  // task-modal
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    for (int i = 0; i < 100 && IsWindow(box); i++)
        Sleep(50);
    CHECK(!IsWindow(box));
    driver::Settle(program.window);
    CHECK(IsWindowEnabled(program.window));
}

}  // namespace scene
