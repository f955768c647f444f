// A small window runtime: a window is a constant description, turned into real windows by
// LoadWindow and driven by RunEventLoop.
#pragma once

#include <windows.h>

enum class ControlKind { PushButton, EditBox };

// One control, in creation order. Rectangles are in client pixels of the parent window;
// `style` and `exStyle` add to what every control of its kind gets (child, not yet visible).
struct ControlDescription {
    const char* name;
    ControlKind kind;
    int left, top, width, height;
    const char* text;
    DWORD style;
    DWORD exStyle;
    void (*onClick)();
};

struct WindowDescription {
    const char* className;
    const char* title;
    int width, height;  // outer size, frame and caption included
    DWORD style;
    DWORD exStyle;
    const char* iconName;
    const ControlDescription* controls;
    int controlCount;
};

// A control of a loaded window: its description and its row in the control table.
struct Control {
    const WindowDescription* window;
    int row;
};

// Creates the window, centred on the primary screen, with its controls, and shows it.
// `beforeShow`, if given, runs once everything exists but nothing is shown yet, so that the
// states it writes are the first the user sees. Returns at once; false when the window or one
// of its controls could not be created.
bool LoadWindow(const WindowDescription& description, void (*beforeShow)() = nullptr);

// Enables or disables a control; nothing happens when its window is not loaded.
void SetDisabled(Control control, bool disabled);

// Replaces the whole text of a control (null counts as ""), shown from its first line.
void SetContent(Control control, const char* text);

// Runs the message loop until the last loaded window is gone; returns the exit code
// (0 after a normal close, 1 when no window was ever loaded).
int RunEventLoop();

// The control's id among its siblings; ids stay clear of IDOK and IDCANCEL, which
// dialog navigation sends for Enter and Esc.
constexpr int ControlId(int row) { return 100 + row; }
