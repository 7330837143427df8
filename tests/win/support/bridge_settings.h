#pragma once
// TeX Quillet set to drive the bridges built beside the tests.
#include <string>

#include "tests/win/support/app_harness.h"

namespace quillet::test {

// Writes the settings (before the start) that make TeX Quillet run quillet-tex, with one
// format (pLaTeX) in wintex.ini and its table from tex_table, and quillet-dvi, with its
// settings from dvi_settings, writing what it tells the user to ViewerErrors(h).
void SetBridges(const AppHarness& h, const std::string& tex_table, const std::string& dvi_settings);
std::string ViewerErrors(const AppHarness& h);

}  // namespace quillet::test
