// MainWindow loaded inside the test process, where Wine lets us read fonts and icons, and the
// resources read back from the built forcequit.exe.
#include <windows.h>

#include <cstring>
#include <string>

#include "app/main_window.h"
#include "check.h"
#include "driver.h"

static HWND Child(const Control& c) { return GetDlgItem(FindWindowA("forcequit", nullptr), ControlId(c.row)); }

static void ControlsUseTheGuiFontAndTheWindowItsIcons() {
    CHECK(LoadWindow(MainWindow));
    HWND w = FindWindowA("forcequit", nullptr);
    if (!CHECK(w))
        return;
    HGDIOBJ font = GetStockObject(DEFAULT_GUI_FONT);
    for (Control c : {按钮2, 编辑框2, 编辑框1, 按钮1})
        CHECKF(reinterpret_cast<HGDIOBJ>(SendMessageA(Child(c), WM_GETFONT, 0, 0)) == font, "row %d", c.row);

    // The window's class carries the big and the small icon.
    struct {
        int which;
        LONG size;
    } icons[] = {{GCLP_HICON, 32}, {GCLP_HICONSM, 16}};
    for (auto& i : icons) {
        HICON icon = reinterpret_cast<HICON>(GetClassLongPtrA(w, i.which));
        ICONINFO info = {};
        BITMAP bm = {};
        if (CHECKF(icon && GetIconInfo(icon, &info), "icon %u", (unsigned)i.which)) {
            GetObjectA(info.hbmColor, sizeof bm, &bm);
            CHECKF(bm.bmWidth == i.size && bm.bmHeight == i.size, "icon %u is %ldx%ld", (unsigned)i.which, bm.bmWidth,
                   bm.bmHeight);
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
        }
    }
    CHECK(GetClassLongPtrA(w, GCLP_HBRBACKGROUND) == COLOR_BTNFACE + 1);
    DestroyWindow(w);
}

static void SetContentReplacesAndSetDisabledToggles() {
    LoadWindow(MainWindow);
    HWND box = Child(编辑框2), button = Child(按钮1);
    std::string longText;
    for (int i = 0; i < 40; i++)
        longText += "line " + std::to_string(i) + "\r\n";
    struct {
        const char* text;
        const char* expected;
    } contents[] = {{"进程状态", "进程状态"}, {nullptr, ""}, {longText.c_str(), longText.c_str()}, {"a", "a"}};
    for (auto& c : contents) {
        SetContent(编辑框2, c.text);
        CHECKF(driver::Text(box) == c.expected, "content \"%.10s\"", c.expected);
        CHECK(SendMessageA(box, EM_GETFIRSTVISIBLELINE, 0, 0) == 0);
        CHECK(!IsWindowEnabled(box));  // still only shows text
    }
    for (bool disabled : {true, true, false, false, true}) {
        SetDisabled(按钮1, disabled);
        CHECK(IsWindowEnabled(button) == !disabled);
    }
    PostMessageA(FindWindowA("forcequit", nullptr), WM_CLOSE, 0, 0);
    CHECK(RunEventLoop() == 0);  // closing the last window ends the loop with 0
    CHECK(!FindWindowA("forcequit", nullptr));
    SetDisabled(按钮1, false);  // no window: nothing happens
    CHECK(RunEventLoop() == 1);  // nothing loaded, nothing to run
}

static BOOL CALLBACK KeepFirstName(HMODULE, LPCSTR, LPSTR name, LONG_PTR out) {
    lstrcpynA(reinterpret_cast<char*>(out), IS_INTRESOURCE(name) ? "#id" : name, 64);
    return FALSE;
}

// The executable's resources, read from the file itself.
static void ResourcesOfTheBuiltFile() {
    HMODULE exe = LoadLibraryExA(driver::ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!CHECK(exe))
        return;
    // The first icon group is DEFAULT_ICON, language neutral, one 32 x 32 image of 32 bits.
    char first[64] = "";
    EnumResourceNamesA(exe, RT_GROUP_ICON, KeepFirstName, reinterpret_cast<LONG_PTR>(first));
    CHECKF(strcmp(first, "DEFAULT_ICON") == 0, "first icon group %s", first);
    HRSRC group = FindResourceExA(exe, RT_GROUP_ICON, "DEFAULT_ICON", MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
    if (!CHECK(group))
        return;
    const BYTE* dir = static_cast<const BYTE*>(LockResource(LoadResource(exe, group)));
    WORD count = *reinterpret_cast<const WORD*>(dir + 4);
    const BYTE* entry = dir + 6;  // width, height, colours, reserved, planes, bits, bytes, id
    WORD bits = *reinterpret_cast<const WORD*>(entry + 6), id = *reinterpret_cast<const WORD*>(entry + 12);
    CHECKF(count == 1 && entry[0] == 32 && entry[1] == 32 && bits == 32, "%u images, %ux%u, %u bits", count, entry[0],
           entry[1], bits);
    HRSRC image = FindResourceA(exe, MAKEINTRESOURCEA(id), RT_ICON);
    if (CHECK(image)) {
        auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(exe, image)));
        CHECK(header->biWidth == 32 && header->biHeight == 64 && header->biBitCount == 32);
        // Grey 112 wherever anything shows; transparent corners; edges smoothed by partial alpha.
        const BYTE* px = reinterpret_cast<const BYTE*>(header + 1);
        int opaque = 0, partial = 0, wrongColour = 0;
        for (int i = 0; i < 32 * 32; i++) {
            BYTE a = px[i * 4 + 3];
            opaque += a == 255;
            partial += a > 0 && a < 255;
            wrongColour += a > 0 && (px[i * 4] != 112 || px[i * 4 + 1] != 112 || px[i * 4 + 2] != 112);
        }
        CHECKF(opaque > 100 && partial > 20 && wrongColour == 0, "opaque %d partial %d wrong %d", opaque, partial,
               wrongColour);
        for (int corner : {0, 31, 32 * 31, 32 * 32 - 1})
            CHECK(px[corner * 4 + 3] == 0);
    }

    // Manifest: Common Controls 6 for x86; no execution level, no DPI awareness.
    HRSRC manifest = FindResourceExA(exe, RT_MANIFEST, MAKEINTRESOURCEA(1), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
    if (CHECK(manifest)) {
        std::string xml(static_cast<const char*>(LockResource(LoadResource(exe, manifest))),
                        SizeofResource(exe, manifest));
        for (const char* part :
             {"name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"", "publicKeyToken=\"6595b64144ccf1df\"",
              "language=\"*\"", "type=\"win32\" name=\"forcequit\" version=\"5.2.0.0\" processorArchitecture=\"x86\""})
            CHECKF(xml.find(part) != std::string::npos, "manifest lacks %s", part);
        for (const char* part : {"requestedExecutionLevel", "dpiAware", "dpiAwareness"})
            CHECKF(xml.find(part) == std::string::npos, "manifest has %s", part);
    }
    FreeLibrary(exe);

    // Version record: 1.1.1.1, an application for 32-bit Windows, strings for 0x0804 / 1200.
    std::string path = driver::ProgramPath();
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), nullptr);
    std::string data(size, '\0');
    if (!CHECK(size && GetFileVersionInfoA(path.c_str(), 0, size, &data[0])))
        return;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    CHECK(VerQueryValueA(&data[0], "\\", reinterpret_cast<void**>(&fixed), &length));
    CHECK(fixed->dwFileVersionMS == 0x00010001 && fixed->dwFileVersionLS == 0x00010001);
    CHECK(fixed->dwProductVersionMS == 0x00010001 && fixed->dwProductVersionLS == 0x00010001);
    CHECK(fixed->dwFileType == VFT_APP && fixed->dwFileOS == VOS__WINDOWS32 && fixed->dwFileFlags == 0);
    WORD* translation = nullptr;
    CHECK(VerQueryValueA(&data[0], "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length));
    CHECK(length == 4 && translation[0] == 0x0804 && translation[1] == 1200);
    struct {
        const char* key;
        const char* value;  // null: any non-empty text
    } strings[] = {{"FileVersion", "1.1.1.1"}, {"ProductVersion", "1.1.1.1"}, {"ProductName", nullptr},
                   {"FileDescription", nullptr}, {"CompanyName", nullptr}, {"LegalCopyright", nullptr},
                   {"Comments", nullptr}};
    for (auto& s : strings) {
        char* value = nullptr;
        std::string key = std::string("\\StringFileInfo\\080404b0\\") + s.key;
        bool found = VerQueryValueA(&data[0], key.c_str(), reinterpret_cast<void**>(&value), &length) && value;
        CHECKF(found && (s.value ? strcmp(value, s.value) == 0 : value[0] != 0), "%s", s.key);
    }
}

int main(int argc, char** argv) {
    check::Init(argc, argv);
    RUN(ControlsUseTheGuiFontAndTheWindowItsIcons);
    RUN(SetContentReplacesAndSetDisabledToggles);
    RUN(ResourcesOfTheBuiltFile);
    return check::Summary();
}
