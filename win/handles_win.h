#pragma once
// Owners for Win32 handles: GDI objects, device contexts, kernel handles; and the fonts.
#include <windows.h>

#include <set>
#include <string>
#include <utility>

namespace quillet {

template <typename H, typename Traits>
class Owned {
 public:
  Owned() = default;
  explicit Owned(H h) : h_(h) {}
  ~Owned() { reset(); }
  Owned(Owned&& o) noexcept : h_(std::exchange(o.h_, Traits::Null())) {}
  Owned& operator=(Owned&& o) noexcept {
    if (this != &o) reset(std::exchange(o.h_, Traits::Null()));
    return *this;
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;

  H get() const { return h_; }
  explicit operator bool() const { return h_ != Traits::Null(); }
  H release() { return std::exchange(h_, Traits::Null()); }
  void reset(H h = Traits::Null()) {
    if (h_ != Traits::Null()) Traits::Close(h_);
    h_ = h;
  }

 private:
  H h_ = Traits::Null();
};

template <typename H>
struct GdiTraits {
  static H Null() { return nullptr; }
  static void Close(H h) { DeleteObject(h); }
};
struct KernelTraits {
  static HANDLE Null() { return nullptr; }
  static void Close(HANDLE h) { CloseHandle(h); }
};
struct FileTraits {
  static HANDLE Null() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { CloseHandle(h); }
};
struct MemoryDcTraits {
  static HDC Null() { return nullptr; }
  static void Close(HDC h) { DeleteDC(h); }
};
struct IconTraits {
  static HICON Null() { return nullptr; }
  static void Close(HICON h) { DestroyIcon(h); }
};
struct ChangeNotificationTraits {
  static HANDLE Null() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { FindCloseChangeNotification(h); }
};

using FontHandle = Owned<HFONT, GdiTraits<HFONT>>;
using ChangeNotificationHandle = Owned<HANDLE, ChangeNotificationTraits>;
using BitmapHandle = Owned<HBITMAP, GdiTraits<HBITMAP>>;
using BrushHandle = Owned<HBRUSH, GdiTraits<HBRUSH>>;
using PenHandle = Owned<HPEN, GdiTraits<HPEN>>;
using RegionHandle = Owned<HRGN, GdiTraits<HRGN>>;
using KernelHandle = Owned<HANDLE, KernelTraits>;
using FileHandle = Owned<HANDLE, FileTraits>;
using MemoryDc = Owned<HDC, MemoryDcTraits>;
using IconHandle = Owned<HICON, IconTraits>;

// A window's DC for the scope (GetDC/ReleaseDC).
class WindowDc {
 public:
  explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ~WindowDc() { ReleaseDC(hwnd_, dc_); }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// Selects a GDI object into a DC for the scope and puts the old one back.
class SelectIn {
 public:
  SelectIn(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
  ~SelectIn() { SelectObject(dc_, old_); }
  SelectIn(const SelectIn&) = delete;
  SelectIn& operator=(const SelectIn&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// Fonts by name in the Japanese character set: by pixel height, or by point size
// on the screen's resolution.
FontHandle CreatePixelFont(const char* face, int pixel_height, int weight = FW_NORMAL);
FontHandle CreatePointFont(const char* face, int points, HDC reference = nullptr);
// The names of the screen's font families in every character set, sorted, each once.
std::set<std::string> ScreenFontFamilies();

}  // namespace quillet
