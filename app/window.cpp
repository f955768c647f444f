#include "app/window.h"

namespace {

// What the runtime keeps of a window while it exists.
struct LoadedWindow {
    const WindowDescription* description;
    HWND hwnd;
    HWND savedFocus;  // the control that had the focus when the window was last deactivated
};

LoadedWindow g_windows[4];

LoadedWindow* FindLoaded(HWND hwnd) {
    for (LoadedWindow& w : g_windows)
        if (w.hwnd && w.hwnd == hwnd)
            return &w;
    return nullptr;
}

LoadedWindow* FindLoaded(const WindowDescription* description) {
    for (LoadedWindow& w : g_windows)
        if (w.hwnd && w.description == description)
            return &w;
    return nullptr;
}

bool AnyWindowLoaded() {
    for (const LoadedWindow& w : g_windows)
        if (w.hwnd)
            return true;
    return false;
}

HWND FindControl(Control control) {
    LoadedWindow* w = FindLoaded(control.window);
    return w ? GetDlgItem(w->hwnd, ControlId(control.row)) : nullptr;
}

// First child in tab order that can take the focus: visible, enabled and a tab stop.
HWND FirstTabStop(HWND window) {
    for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        LONG style = GetWindowLongA(c, GWL_STYLE);
        if ((style & (WS_VISIBLE | WS_DISABLED | WS_TABSTOP)) == (WS_VISIBLE | WS_TABSTOP))
            return c;
    }
    return nullptr;
}

// Gives the focus back to the control that last had it, else to the first usable one; with
// none, the window keeps the focus itself so that its keys (Esc) still work.
void PassFocusOn(const LoadedWindow& w) {
    HWND saved = w.savedFocus;
    HWND target = saved && IsChild(w.hwnd, saved) && IsWindowEnabled(saved) ? saved : FirstTabStop(w.hwnd);
    SetFocus(target ? target : w.hwnd);
}

void OnClick(const LoadedWindow& w, int id) {
    int row = id - ControlId(0);
    if (row >= 0 && row < w.description->controlCount && w.description->controls[row].onClick)
        w.description->controls[row].onClick();
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE)
        static_cast<LoadedWindow*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams)->hwnd = hwnd;
    LoadedWindow* w = FindLoaded(hwnd);
    if (!w)
        return DefWindowProcA(hwnd, msg, wp, lp);
    switch (msg) {
    case WM_COMMAND:
        if (HIWORD(wp) == BN_CLICKED && lp)
            OnClick(*w, LOWORD(wp));
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wp) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(hwnd, focus))
                w->savedFocus = focus;
        }
        break;  // on activation the default sets the focus to the window: see WM_SETFOCUS
    case WM_SETFOCUS:
        PassFocusOn(*w);
        return 0;
    case WM_CTLCOLORSTATIC: {
        // Disabled edit boxes ask here: keep them white, not button-face grey.
        HDC dc = reinterpret_cast<HDC>(wp);
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    }
    case WM_NCDESTROY:
        *w = LoadedWindow{};
        if (!AnyWindowLoaded())
            PostQuitMessage(0);
        break;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

// Keys whose dialog-manager meaning the window does not want. True when `msg` is dealt with.
bool FilterWindowKey(HWND window, const MSG& msg) {
    if (msg.message != WM_KEYDOWN)
        return false;
    switch (msg.wParam) {
    case VK_ESCAPE:
        // Plain Esc closes exactly as the close box does; with Ctrl or Shift it does nothing.
        // (With Alt held it arrives as WM_SYSKEYDOWN and never gets here.)
        if (GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_SHIFT) >= 0 && GetKeyState(VK_MENU) >= 0)
            SendMessageA(window, WM_CLOSE, 0, 0);
        return true;
    case VK_RETURN:
        return true;  // no default button: Enter clicks nothing, not even the focused button
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
        DispatchMessageA(&msg);  // the arrows go to the control but never move the focus
        return true;
    }
    return false;
}

}  // namespace

bool LoadWindow(const WindowDescription& d, void (*beforeShow)()) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExA(instance, d.className, &wc)) {
        wc.lpfnWndProc = WindowProc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = d.className;
        // The icons belong to the class, which lives as long as the process: the caption and
        // the taskbar take them from there, with no per-window setting (cheaper under Wine).
        wc.hIcon = static_cast<HICON>(LoadImageA(instance, d.iconName, IMAGE_ICON, 32, 32, 0));
        wc.hIconSm = static_cast<HICON>(LoadImageA(instance, d.iconName, IMAGE_ICON, 16, 16, 0));
        RegisterClassExA(&wc);
    }

    LoadedWindow* slot = nullptr;
    for (LoadedWindow& w : g_windows)
        if (!w.hwnd && !slot)
            slot = &w;
    if (!slot)
        return false;
    slot->description = &d;

    // Centred on the primary screen, quotients truncated toward zero.
    int left = (GetSystemMetrics(SM_CXSCREEN) - d.width) / 2;
    int top = (GetSystemMetrics(SM_CYSCREEN) - d.height) / 2;
    HWND hwnd = CreateWindowExA(d.exStyle, d.className, d.title, d.style & ~WS_VISIBLE, left, top, d.width,
                                d.height, nullptr, nullptr, instance, slot);
    if (!hwnd) {
        *slot = LoadedWindow{};
        return false;
    }
    RECT r;
    GetWindowRect(hwnd, &r);
    if (r.right - r.left != d.width || r.bottom - r.top != d.height)
        SetWindowPos(hwnd, nullptr, left, top, d.width, d.height, SWP_NOZORDER | SWP_NOACTIVATE);

    WPARAM font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    for (int row = 0; row < d.controlCount; row++) {
        const ControlDescription& c = d.controls[row];
        HWND child = CreateWindowExA(c.exStyle, c.kind == ControlKind::PushButton ? "BUTTON" : "EDIT", c.text,
                                     WS_CHILD | (c.style & ~WS_VISIBLE), c.left, c.top, c.width, c.height, hwnd,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId(row))), instance,
                                     nullptr);
        if (!child) {
            DestroyWindow(hwnd);
            return false;
        }
        SendMessageA(child, WM_SETFONT, font, FALSE);
        // Each new control goes to the top, so the tab order runs from the last created to the first.
        SetWindowPos(child, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    if (beforeShow)
        beforeShow();
    for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        ShowWindow(child, SW_SHOWNA);
    ShowWindow(hwnd, SW_SHOW);
    return true;
}

void SetDisabled(Control control, bool disabled) {
    HWND child = FindControl(control);
    if (!child)
        return;
    bool hadFocus = GetFocus() == child;
    EnableWindow(child, !disabled);
    // A disabled control drops the focus; hand it on so the keyboard keeps working.
    if (hadFocus && disabled)
        PassFocusOn(*FindLoaded(control.window));
}

void SetContent(Control control, const char* text) {
    if (HWND child = FindControl(control))
        SetWindowTextA(child, text ? text : "");
}

int RunEventLoop() {
    if (!AnyWindowLoaded())
        return 1;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
        if (root && FindLoaded(root) && (FilterWindowKey(root, msg) || IsDialogMessageA(root, &msg)))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
