// forcequit as a user meets it: the real executable under Wine, driven from outside with real
// dummy processes, real key and mouse input, and its window read back through the Win32 API.
#include <windows.h>

#include <string>
#include <vector>

#include "check.h"
#include "driver.h"

using driver::Process;

namespace {

// Rows of the window's control table.
enum Row { k按钮2, k编辑框2, k编辑框1, k按钮1 };

struct Running {
    std::vector<Process> dummies;
    ~Running() {
        for (Process& p : dummies)
            driver::End(p);
    }
};

// Starts dummies under the given names, each in its own folder (names may differ in case only).
void StartAll(Running& r, std::initializer_list<const char*> names) {
    int i = 0;
    for (const char* name : names)
        r.dummies.push_back(driver::StartDummy("C:\\fq\\run\\" + std::to_string(i++), name));
}

bool Enabled(HWND window, Row row) { return IsWindowEnabled(driver::Control(window, row)) != FALSE; }

}  // namespace

static void StartUpEnablesButtonsForRunningTargets() {
    struct {
        std::initializer_list<const char*> running;
        bool button1, button2;
    } cases[] = {
        {{}, false, false},
        {{"TslGame.exe"}, true, false},
        {{"steam.exe"}, false, true},
        {{"STEAM.EXE"}, false, true},
        {{"Steam.exe", "TSLGAME.EXE"}, true, true},
        // The other game processes and Steam's helper enable nothing.
        {{"TslGame_BE.exe", "iigw_server.exe", "steamwebhelper.exe"}, false, false},
    };
    int i = 0;
    for (auto& c : cases) {
        Running r;
        StartAll(r, c.running);
        Process app = driver::Start(driver::ProgramPath());
        HWND w = driver::WaitForMainWindow(app);
        if (!CHECKF(w, "case %d: no window", i))
            continue;
        CHECKF(Enabled(w, k按钮1) == c.button1, "case %d", i);
        CHECKF(Enabled(w, k按钮2) == c.button2, "case %d", i);
        if (i == 0) {
            // The table is looked at once, at start: a game started later enables nothing.
            StartAll(r, {"TslGame.exe", "steam.exe"});
            driver::Settle(w);
            CHECK(!Enabled(w, k按钮1) && !Enabled(w, k按钮2));
        }
        CHECKF(driver::CloseAndWait(app, w) == 0, "case %d", i);
        i++;
    }
}

static void WindowAndControlsAreAsDescribed() {
    Process app = driver::Start(driver::ProgramPath());
    HWND w = driver::WaitForMainWindow(app);
    if (!CHECK(w))
        return;

    // Outer size 263 x 225, centred on the 1024 x 768 screen with the quotients truncated.
    RECT r;
    GetWindowRect(w, &r);
    CHECKF(r.left == (1024 - 263) / 2 && r.top == (768 - 225) / 2 && r.right - r.left == 263 && r.bottom - r.top == 225,
           "window at %ld,%ld size %ldx%ld", r.left, r.top, r.right - r.left, r.bottom - r.top);
    LONG style = GetWindowLongA(w, GWL_STYLE), exStyle = GetWindowLongA(w, GWL_EXSTYLE);
    const LONG wanted = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN | WS_VISIBLE;
    CHECKF((style & wanted) == wanted, "style %08lx", style);
    CHECKF(!(style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_CHILD | WS_POPUP | WS_DISABLED)), "style %08lx", style);
    CHECKF(!(exStyle & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW)), "exstyle %08lx", exStyle);
    CHECK(GetWindow(w, GW_OWNER) == nullptr);
    CHECK(GetMenu(w) == nullptr);
    CHECK(driver::Text(w).empty());

    const LONG button = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_CENTER | BS_VCENTER | BS_MULTILINE;
    const LONG box = WS_CHILD | WS_VISIBLE | WS_DISABLED | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
    struct {
        Row row;
        const char* cls;
        RECT rect;
        std::string text;
        size_t gbkBytes;
        LONG style, notStyle, exStyle;
    } controls[] = {
        {k按钮2, "Button", {144, 136, 224, 192}, "结束游戏+\r\n结束steam", 20, button,
         BS_DEFPUSHBUTTON, 0},
        {k编辑框2, "Edit", {136, 8, 248, 120},
         "游戏崩溃后因\r\n为进程原因久\r\n久无法重新开\r\n\r\n始游戏，女神\r\n\r\n特别的难过。\r\n为了不让女神\r\n难过就有了它", 100, box,
         ES_AUTOHSCROLL | ES_READONLY | ES_PASSWORD | ES_UPPERCASE | ES_LOWERCASE | ES_CENTER | ES_RIGHT |
             WS_VSCROLL | WS_HSCROLL,
         WS_EX_CLIENTEDGE},
        {k编辑框1, "Edit", {8, 8, 120, 120},
         "欲结束进程\r\n\r\nTslGame.exe\r\n\r\nTslGame_BE.exe\r\n\r\niigw_server.exe\r\n\r\nsteam.exe", 75, box,
         ES_AUTOHSCROLL | ES_READONLY | ES_PASSWORD | ES_UPPERCASE | ES_LOWERCASE | ES_CENTER | ES_RIGHT |
             WS_VSCROLL | WS_HSCROLL,
         WS_EX_CLIENTEDGE},
        {k按钮1, "Button", {16, 136, 96, 192}, "单    独\r\n结束游戏", 18, button, BS_DEFPUSHBUTTON, 0},
    };
    for (auto& c : controls) {
        HWND h = driver::Control(w, c.row);
        if (!CHECKF(h, "row %d missing", c.row))
            continue;
        char cls[32] = "";
        GetClassNameA(h, cls, sizeof cls);
        CHECKF(lstrcmpiA(cls, c.cls) == 0, "row %d class %s", c.row, cls);
        RECT cr = driver::ClientRect(h);
        CHECKF(EqualRect(&cr, &c.rect), "row %d at %ld,%ld,%ld,%ld", c.row, cr.left, cr.top, cr.right, cr.bottom);
        std::string text = driver::Text(h);
        CHECKF(text == c.text && text.size() == c.gbkBytes, "row %d text of %u bytes", c.row, (unsigned)text.size());
        LONG s = GetWindowLongA(h, GWL_STYLE);
        // Both buttons are ordinary push buttons (BS_PUSHBUTTON is 0).
        if (c.cls[0] == 'B')
            CHECKF((s & BS_TYPEMASK) == BS_PUSHBUTTON, "row %d style %08lx", c.row, s);
        CHECKF((s & c.style) == c.style && !(s & c.notStyle), "row %d style %08lx", c.row, s);
        CHECKF((GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) == c.exStyle, "row %d", c.row);
    }
    // The texts reach the window as GBK bytes.
    CHECK(driver::Text(driver::Control(w, k按钮1)) == "\xB5\xA5    \xB6\xC0\r\n\xBD\xE1\xCA\xF8\xD3\xCE\xCF\xB7");

    // Both boxes start with an empty selection at 0 and show their first line.
    for (Row row : {k编辑框1, k编辑框2}) {
        HWND h = driver::Control(w, row);
        CHECKF(SendMessageA(h, EM_GETSEL, 0, 0) == 0, "row %d", row);
        CHECKF(SendMessageA(h, EM_GETFIRSTVISIBLELINE, 0, 0) == 0, "row %d", row);
    }

    // The tab order is the reverse of the creation order.
    std::vector<HWND> order;
    for (HWND c = GetWindow(w, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        order.push_back(c);
    CHECK(order == (std::vector<HWND>{driver::Control(w, k按钮1), driver::Control(w, k编辑框1),
                                      driver::Control(w, k编辑框2), driver::Control(w, k按钮2)}));
    CHECK(driver::CloseAndWait(app, w) == 0);
}

static void KeyboardMovesFocusBetweenButtonsOnly() {
    Running r;
    StartAll(r, {"TslGame.exe", "steam.exe"});
    Process app = driver::Start(driver::ProgramPath());
    HWND w = driver::WaitForMainWindow(app);
    if (!CHECK(w) || !CHECK(driver::Activate(w)))
        return;
    HWND b1 = driver::Control(w, k按钮1), b2 = driver::Control(w, k按钮2);
    CHECK(driver::FocusOf(w) == b1);

    struct {
        WORD vk;
        std::initializer_list<WORD> modifiers;
        HWND focus;
    } steps[] = {
        {VK_TAB, {}, b2},          // the boxes are skipped
        {VK_TAB, {}, b1},          // from the last, Tab goes round to the first
        {VK_TAB, {VK_SHIFT}, b2},  // and Shift+Tab back from the first to the last
        {VK_TAB, {VK_SHIFT}, b1},
        {VK_RIGHT, {}, b1},  // arrows do not move the focus
        {VK_DOWN, {}, b1},
        {VK_RETURN, {}, b1},  // Enter neither moves the focus...
        {VK_TAB, {}, b2},
    };
    int i = 0;
    for (auto& s : steps) {
        driver::PressKey(s.vk, s.modifiers);
        driver::Settle(w);
        CHECKF(driver::FocusOf(w) == s.focus, "step %d", i);
        i++;
    }
    CHECK(driver::Text(driver::Control(w, k编辑框2)).size() == 100);  // ...nor clicks anything

    // Away and back: the focus returns to the button that had it.
    driver::ActivateOwnWindow();
    CHECK(driver::Activate(w));
    CHECK(driver::FocusOf(w) == b2);

    // Esc with Ctrl or Shift does nothing; plain Esc closes the program with exit code 0.
    driver::PressKey(VK_ESCAPE, {VK_SHIFT});
    driver::PressKey(VK_ESCAPE, {VK_CONTROL});
    driver::Settle(w);
    CHECK(IsWindow(w) && driver::IsRunning(app));
    driver::PressKey(VK_ESCAPE);
    DWORD code = STILL_ACTIVE;
    CHECK(driver::WaitExit(app, 10000, &code));
    CHECKF(code == 0, "exit code %lu", code);
}

static void FocusGoesToTheUsableButton() {
    struct {
        std::initializer_list<const char*> running;
        Row focus;  // or -1: no button usable, the window itself
    } cases[] = {
        {{"steam.exe"}, k按钮2},
        {{"TslGame.exe"}, k按钮1},
        {{}, Row(-1)},
    };
    for (auto& c : cases) {
        Running r;
        StartAll(r, c.running);
        Process app = driver::Start(driver::ProgramPath());
        HWND w = driver::WaitForMainWindow(app);
        if (!CHECK(w) || !CHECK(driver::Activate(w)))
            continue;
        HWND expected = c.focus < 0 ? w : driver::Control(w, c.focus);
        CHECKF(driver::FocusOf(w) == expected, "focus row %d", c.focus);
        for (auto modifiers : {std::initializer_list<WORD>{}, std::initializer_list<WORD>{VK_SHIFT}}) {
            driver::PressKey(VK_TAB, modifiers);  // with one usable button Tab stays on it
            driver::Settle(w);
            CHECKF(driver::FocusOf(w) == expected, "focus row %d", c.focus);
        }
        // Esc works with no usable button too.
        driver::PressKey(VK_ESCAPE);
        DWORD code = STILL_ACTIVE;
        CHECKF(driver::WaitExit(app, 10000, &code) && code == 0, "exit code %lu", code);
    }
}

static void CloseBoxAndAltF4EndTheProgram() {
    for (int way = 0; way < 2; way++) {
        Process app = driver::Start(driver::ProgramPath());
        HWND w = driver::WaitForMainWindow(app);
        if (!CHECK(w) || !CHECK(driver::Activate(w)))
            continue;
        if (way == 0) {
            // Find the close box on the caption bar by asking the window what lies where.
            RECT r;
            GetWindowRect(w, &r);
            int y = r.top + GetSystemMetrics(SM_CYFIXEDFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
            int x = r.right - 1;
            while (x > r.left && SendMessageA(w, WM_NCHITTEST, 0, MAKELPARAM(x, y)) != HTCLOSE)
                x--;
            CHECK(x > r.left);
            driver::ClickAt({x - 3, y});
        } else {
            driver::PressKey(VK_F4, {VK_MENU});
        }
        DWORD code = STILL_ACTIVE;
        CHECKF(driver::WaitExit(app, 10000, &code) && code == 0, "way %d exit code %lu", way, code);
    }
}

static void ArgumentsAndASecondCopyChangeNothing() {
    Running r;
    StartAll(r, {"steam.exe"});
    Process first = driver::Start(driver::ProgramPath(), "--help /x TslGame.exe");
    HWND w1 = driver::WaitForMainWindow(first);
    Process second = driver::Start(driver::ProgramPath());
    HWND w2 = driver::WaitForMainWindow(second);
    if (!CHECK(w1 && w2 && w1 != w2))
        return;
    for (HWND w : {w1, w2}) {
        RECT r;
        GetWindowRect(w, &r);
        CHECK(r.left == 380 && r.top == 271);
        CHECK(!Enabled(w, k按钮1) && Enabled(w, k按钮2));
    }
    CHECK(driver::CloseAndWait(first, w1) == 0);
    CHECK(driver::CloseAndWait(second, w2) == 0);
}

int main(int argc, char** argv) {
    check::Init(argc, argv);
    RUN(StartUpEnablesButtonsForRunningTargets);
    RUN(WindowAndControlsAreAsDescribed);
    RUN(KeyboardMovesFocusBetweenButtonsOnly);
    RUN(FocusGoesToTheUsableButton);
    RUN(CloseBoxAndAltF4EndTheProgram);
    RUN(ArgumentsAndASecondCopyChangeNothing);
    driver::RemoveTree("C:\\fq");
    return check::Summary();
}
