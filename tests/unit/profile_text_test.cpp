// Settings files changed in place: the changed line, the added key or section, the erased
// section, and every other byte as it was.
#include "core/profile_text.h"

#include <gtest/gtest.h>

namespace quillet {
namespace {

TEST(ProfileTextTest, SetChangesOneLineOrAddsWhereTheFileNeedsIt) {
  struct Row { const char* what; const char* before; const char* section; const char* key; const char* value;
               const char* after; } rows[] = {
      {"empty file", "", "TeX", "Use", "1", "[TeX]\r\nUse=1\r\n"},
      {"value replaced in place, key spelt as in the file",
       "; mine\r\n[tex]\r\n  use = 0 \r\nOther=x\r\n", "TeX", "USE", "1", "; mine\r\n[tex]\r\nuse=1\r\nOther=x\r\n"},
      {"new key after the section's last line, before blank lines",
       "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n", "A", "z", "3", "[A]\r\nx=1\r\nz=3\r\n\r\n[B]\r\ny=2\r\n"},
      {"new section at the end of a file without a final break", "[A]\r\nx=1", "B", "k", "v",
       "[A]\r\nx=1\r\n[B]\r\nk=v\r\n"},
      {"key added to a last section without a final break", "[A]\r\nx=1", "A", "k", "", "[A]\r\nx=1\r\nk=\r\n"},
      {"comment lines are no keys", "[A]\r\n;k=old\r\n", "A", "k", "new", "[A]\r\n;k=old\r\nk=new\r\n"},
      {"LF-only file keeps its lines", "[A]\nx=1\n[B]\n", "A", "x", "2", "[A]\nx=2\n[B]\n"},
      {"double-byte names compare exactly", "[ﾌｫﾝﾄ]\r\n表=1\r\n", "ﾌｫﾝﾄ", "衣", "2",
       "[ﾌｫﾝﾄ]\r\n表=1\r\n衣=2\r\n"},
      // As the platform reads them: "評" ends in the byte of "]", a header runs to its last
      // "]", a lone CR ends a line.
      {"section name with a trail byte 0x5D", "[評論]\r\nsizeoption=10pt\r\n", "評論", "ptsizeoption", "a4j",
       "[評論]\r\nsizeoption=10pt\r\nptsizeoption=a4j\r\n"},
      {"header up to its last bracket", "[a]b]\r\nk=1\r\n", "a]b", "k", "2", "[a]b]\r\nk=2\r\n"},
      {"CR-only file", "[A]\rx=1\rz=3\r[B]\r", "A", "x", "2", "[A]\rx=2\rz=3\r[B]\r"},
      {"quoted value kept by one more pair", "[V]\r\n", "V", "Cmd", "\"C:\\a b\\v.exe\" \"%1\"",
       "[V]\r\nCmd=\"\"C:\\a b\\v.exe\" \"%1\"\"\r\n"},
      {"the empty key is a key", "[Font]\r\n=X\r\n", "Font", "", "Y", "[Font]\r\n=Y\r\n"},
      {"header after a stray CR", "[A]\n\r[B]\nk=1\n", "b", "k", "2", "[A]\n\r[B]\nk=2\n"},
  };
  for (const auto& r : rows) {
    ProfileText text(r.before);
    text.Set(r.section, r.key, r.value);
    EXPECT_EQ(text.text(), r.after) << r.what;
  }
}

TEST(ProfileTextTest, EraseSectionTakesEveryCopyWithItsLines) {
  ProfileText text("[Keep]\r\na=1\r\n[TeXMode]\r\nx=y\r\n; note\r\n[other]\r\nb=2\r\n[texmode]\r\nz=w\r\n");
  text.EraseSection("TeXMode");
  EXPECT_EQ(text.text(), "[Keep]\r\na=1\r\n[other]\r\nb=2\r\n");
  text.EraseSection("missing");
  EXPECT_EQ(text.text(), "[Keep]\r\na=1\r\n[other]\r\nb=2\r\n");
  ProfileText cr_only("[評論]\rk=1\r[Keep]\rz=1\r[評論]\rk=2");
  cr_only.EraseSection("評論");
  EXPECT_EQ(cr_only.text(), "[Keep]\rz=1\r");
}

}  // namespace
}  // namespace quillet
