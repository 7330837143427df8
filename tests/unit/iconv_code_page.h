#pragma once
// Code page 932 and the Japanese encodings as glibc's iconv has them: an outside oracle
// for the program's own conversions in native tests, fuzzing and benchmarks.
#include <iconv.h>

#include <stdexcept>
#include <string>
#include <string_view>

#include "core/code_page_932.h"

namespace quillet {

// bytes converted from one encoding to another; throws when iconv refuses them.
inline std::string Iconv(std::string_view bytes, const char* from, const char* to) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error(std::string("no iconv for ") + from);
  std::string out(bytes.size() * 4 + 16, '\0');
  char* in_p = const_cast<char*>(bytes.data());
  std::size_t in_left = bytes.size();
  char* out_p = out.data();
  std::size_t out_left = out.size();
  std::size_t r = iconv(cd, &in_p, &in_left, &out_p, &out_left);
  if (r != static_cast<std::size_t>(-1)) r = iconv(cd, nullptr, nullptr, &out_p, &out_left);  // back to ASCII
  iconv_close(cd);
  if (r == static_cast<std::size_t>(-1)) throw std::runtime_error(std::string("iconv refused ") + from + " text");
  out.resize(out.size() - out_left);
  return out;
}

// Code page 932 of glibc, built once.
inline const CodePage932& IconvCodePage() {
  static const CodePage932 code_page(
      [](std::uint16_t code) -> char32_t {
        std::string bytes;
        if (code >= 0x100) bytes += static_cast<char>(code >> 8);
        bytes += static_cast<char>(code & 0xFF);
        try {
          std::string u = Iconv(bytes, "CP932", "UTF-32LE");
          if (u.size() != 4) return 0;
          return static_cast<unsigned char>(u[0]) | static_cast<unsigned char>(u[1]) << 8 |
                 static_cast<unsigned char>(u[2]) << 16;
        } catch (const std::runtime_error&) {
          return 0;
        }
      },
      [](char32_t c) -> std::uint16_t {
        char u[4] = {static_cast<char>(c), static_cast<char>(c >> 8), static_cast<char>(c >> 16), 0};
        try {
          std::string bytes = Iconv(std::string_view(u, 4), "UTF-32LE", "CP932");
          if (bytes.size() == 1) return static_cast<unsigned char>(bytes[0]);
          if (bytes.size() == 2) return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[0]) << 8 | static_cast<unsigned char>(bytes[1]));
        } catch (const std::runtime_error&) {
        }
        return kNoCode;
      });
  return code_page;
}

}  // namespace quillet
