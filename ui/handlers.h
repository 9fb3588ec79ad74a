// What the window's events do; portable, written once against MainWindow.
#pragma once

#include "ui/window.h"

inline void handle_window_created(MainWindow&) {}
void handle_window_resize(MainWindow& window);
void handle_translate_click(MainWindow& window);
