// The program's one window.
#pragma once

#include "app/window.h"

extern const WindowDescription MainWindow;

// MainWindow's controls, by their rows in its control table (creation order).
constexpr Control 按钮2{&MainWindow, 0};
constexpr Control 编辑框2{&MainWindow, 1};
constexpr Control 编辑框1{&MainWindow, 2};
constexpr Control 按钮1{&MainWindow, 3};
