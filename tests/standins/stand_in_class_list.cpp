// Stand-in for the engine bridge's class list. Copied under the bridge's name,
// "quillet-tex.exe --classes FILE" appends a line to asked.txt beside it and copies
// classes.txt from beside it to FILE; without classes.txt it fails as a bridge that
// cannot ask TeX does: exit 1, nothing written.
#include <windows.h>

#include <cstring>
#include <string>

int main(int argc, char** argv) {
  if (argc != 3 || std::strcmp(argv[1], "--classes") != 0) return 2;
  char self[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string folder(self, n);
  folder.resize(folder.rfind('\\') + 1);
  HANDLE asked = CreateFileA((folder + "asked.txt").c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
  DWORD written = 0;
  if (asked != INVALID_HANDLE_VALUE) {
    WriteFile(asked, "asked\n", 6, &written, nullptr);
    CloseHandle(asked);
  }
  return CopyFileA((folder + "classes.txt").c_str(), argv[2], FALSE) ? 0 : 1;
}
