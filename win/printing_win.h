#pragma once
// Where a print job goes: the printer chosen in the print dialog, or a recorder in tests.
#include <windows.h>

#include <memory>
#include <string>

namespace quillet {

class PrintTarget {
 public:
  virtual ~PrintTarget() = default;
  // The device the pages are laid out for and drawn on.
  virtual HDC dc() const = 0;
  virtual bool StartJob(const std::string& title) = 0;
  virtual bool StartPage() = 0;
  virtual bool EndPage() = 0;
  virtual bool EndJob() = 0;
};

// A printer device context from the print dialog (owned, deleted with the target).
class PrinterTarget : public PrintTarget {
 public:
  explicit PrinterTarget(HDC dc) : dc_(dc) {}
  ~PrinterTarget() override;
  HDC dc() const override { return dc_; }
  bool StartJob(const std::string& title) override;
  bool StartPage() override;
  bool EndPage() override;
  bool EndJob() override;

 private:
  HDC dc_;
};

}  // namespace quillet
