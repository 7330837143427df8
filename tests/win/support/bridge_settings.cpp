#include "tests/win/support/bridge_settings.h"

#include "prefs/env_settings.h"
#include "tests/win/support/standins.h"

namespace quillet::test {

namespace {

// A file name as a word of a settings value: quoted when it holds a blank.
std::string Word(const std::string& name) { return name.find(' ') == std::string::npos ? name : '"' + name + '"'; }

}  // namespace

std::string ViewerErrors(const AppHarness& h) { return h.dir() / "viewer-errors.txt"; }

void SetBridges(const AppHarness& h, const std::string& tex_table, const std::string& dvi_settings) {
  WriteFileBytes(h.wintex_path(), "[TeXMode]\r\npLaTeX=platex\r\n");
  std::string tex = Word(StandInPath(kEngineBridgeExe)) + " --wintex " + Word(h.wintex_path()) + " --settings " +
                    Word(h.ini_path()) + " --table " + Word(h.MakeFile("quillet-tex.ini", tex_table));
  std::string dvi = Word(StandInPath(kViewerBridgeExe)) + " --config " +
                    Word(h.MakeFile("quillet-dvi.ini", dvi_settings)) + " --errors " + Word(ViewerErrors(h));
  h.WriteIni(std::string("[TeX]\r\nUse=0\r\n") + kTeXKinds[0] + "=" + tex + "\r\n[Dvi]\r\nUse=0\r\n" + kDviKinds[0] +
             "=" + dvi + "\r\n");
}

}  // namespace quillet::test
