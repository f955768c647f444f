// The floor for forcequit's start-up and weight: a window of the same size with the same four
// controls (texts, styles, font), entering its message loop, and nothing else.
#include <windows.h>

static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcA(hwnd, msg, wp, lp);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "floor";
    RegisterClassA(&wc);
    HWND w = CreateWindowExA(0, "floor", "", WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
                             (GetSystemMetrics(SM_CXSCREEN) - 263) / 2, (GetSystemMetrics(SM_CYSCREEN) - 225) / 2, 263,
                             225, nullptr, nullptr, instance, nullptr);
    const DWORD button = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_CENTER | BS_VCENTER | BS_MULTILINE;
    const DWORD box = WS_CHILD | WS_VISIBLE | WS_DISABLED | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
    const struct {
        const char* cls;
        int x, y, width, height;
        const char* text;
        DWORD style, exStyle;
    } controls[] = {
        {"BUTTON", 144, 136, 80, 56, "结束游戏+\r\n结束steam", button, 0},
        {"EDIT", 136, 8, 112, 112,
         "游戏崩溃后因\r\n为进程原因久\r\n久无法重新开\r\n\r\n始游戏，女神\r\n\r\n特别的难过。\r\n为了不让女神\r\n难过就有了它", box,
         WS_EX_CLIENTEDGE},
        {"EDIT", 8, 8, 112, 112,
         "欲结束进程\r\n\r\nTslGame.exe\r\n\r\nTslGame_BE.exe\r\n\r\niigw_server.exe\r\n\r\nsteam.exe", box,
         WS_EX_CLIENTEDGE},
        {"BUTTON", 16, 136, 80, 56, "单    独\r\n结束游戏", button, 0},
    };
    WPARAM font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    for (auto& c : controls)
        SendMessageA(CreateWindowExA(c.exStyle, c.cls, c.text, c.style, c.x, c.y, c.width, c.height, w, nullptr,
                                     instance, nullptr),
                     WM_SETFONT, font, FALSE);
    ShowWindow(w, SW_SHOW);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageA(w, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return 0;
}
