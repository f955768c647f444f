#include "app/main_window.h"

#include "commands/commands.h"

namespace {

constexpr DWORD kButton = WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | BS_MULTILINE;
// The boxes only show text: disabled, they take neither focus nor input. Long lines wrap.
constexpr DWORD kBox = WS_TABSTOP | WS_DISABLED | ES_LEFT | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;

constexpr ControlDescription kControls[] = {
    // name       kind                     left top  w    h    text
    {"按钮2", ControlKind::PushButton, 144, 136, 80, 56, "结束游戏+\r\n结束steam", kButton, 0, EndGameAndSteamCommand},
    {"编辑框2", ControlKind::EditBox, 136, 8, 112, 112,
     "游戏崩溃后因\r\n为进程原因久\r\n久无法重新开\r\n\r\n始游戏，女神\r\n\r\n特别的难过。\r\n为了不让女神\r\n难过就有了它",
     kBox, WS_EX_CLIENTEDGE, nullptr},
    {"编辑框1", ControlKind::EditBox, 8, 8, 112, 112,
     "欲结束进程\r\n\r\nTslGame.exe\r\n\r\nTslGame_BE.exe\r\n\r\niigw_server.exe\r\n\r\nsteam.exe", kBox,
     WS_EX_CLIENTEDGE, nullptr},
    {"按钮1", ControlKind::PushButton, 16, 136, 80, 56, "单    独\r\n结束游戏", kButton, 0, EndGameCommand},
};

constexpr bool SameName(const char* a, const char* b) {
    return *a == *b && (*a == 0 || SameName(a + 1, b + 1));
}
static_assert(SameName(kControls[按钮2.row].name, "按钮2") && SameName(kControls[编辑框2.row].name, "编辑框2") &&
                  SameName(kControls[编辑框1.row].name, "编辑框1") && SameName(kControls[按钮1.row].name, "按钮1"),
              "control names must follow the table's rows");

}  // namespace

const WindowDescription MainWindow = {
    "forcequit",  // window class
    "",           // no title: the caption shows only the icon
    263, 225,
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
    0,
    "DEFAULT_ICON",
    kControls,
    sizeof kControls / sizeof kControls[0],
};
