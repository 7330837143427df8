// Stand-in for another program that keeps a file open without sharing it.
// Usage: hold_file FILE READY-EVENT — opens FILE with no sharing, signals the named
// event, and keeps the file until it is ended.
#include <windows.h>

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  HANDLE file = CreateFileA(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[2]);
  if (ready) SetEvent(ready);
  Sleep(INFINITE);
  return 0;
}
