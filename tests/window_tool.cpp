// Helps scripts handle forcequit's window from outside:
//   window_tool wait       wait until the window is shown and idle; print "left top width height"
//   window_tool click ROW  click the control of that row (as the mouse would) and wait for the program
//   window_tool close      close the window as its close box does and wait until the program is gone
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

static HWND WaitForWindow() {
    for (int i = 0; i < 300; i++) {
        HWND w = FindWindowA("forcequit", nullptr);
        if (w && IsWindowVisible(w)) {
            DWORD_PTR ignored;
            Sleep(200);
            SendMessageTimeoutA(w, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
            return w;
        }
        Sleep(50);
    }
    return nullptr;
}

int main(int argc, char** argv) {
    HWND w = WaitForWindow();
    if (argc < 2 || !w) {
        std::fprintf(stderr, argc < 2 ? "usage: window_tool wait|click ROW|close\n" : "no forcequit window\n");
        return 2;
    }
    if (strcmp(argv[1], "wait") == 0) {
        RECT r;
        GetWindowRect(w, &r);
        std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    } else if (strcmp(argv[1], "click") == 0 && argc == 3) {
        DWORD_PTR ignored;
        SendMessageTimeoutA(GetDlgItem(w, 100 + atoi(argv[2])), BM_CLICK, 0, 0, SMTO_NORMAL, 60000, &ignored);
    } else if (strcmp(argv[1], "close") == 0) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
        PostMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0);
        WaitForSingleObject(process, 10000);
        CloseHandle(process);
    } else {
        return 2;
    }
    return 0;
}
