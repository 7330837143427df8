#pragma once
// The message loop of a program that TeX Quillet starts (the bridges, and the tests'
// stand-ins): it ends with the process that started it, so none is ever left running
// after the program that needed it.
#include <windows.h>

#include <functional>

namespace quillet {

// Runs the message loop until WM_QUIT or until the parent process ends. after_wake runs
// after every wake-up and returns how long the loop may sleep before it must run again.
void RunLoopWhileParentLives(const std::function<DWORD()>& after_wake);

}  // namespace quillet
