#include "tex/forward_search_win.h"

#include <windows.h>

#include "core/sjis.h"
#include "tex/run_inputs.h"
#include "tex/synctex_gzip.h"
#include "win/code_page_win.h"
#include "win/file_io_win.h"

namespace quillet {

namespace {

constexpr const char* kDataExt = ".synctex.gz";
constexpr const char* kWorkFolder = ".quillet-tex\\";
// Data past this size is no data an engine wrote for a document of today.
constexpr std::uint64_t kDataLimit = std::uint64_t{1} << 30;
constexpr std::uint64_t kListLimit = 4u << 20;

// The folder above a folder ending in "\", or "" at the top.
std::string Parent(const std::string& folder) {
  std::string without = folder.substr(0, folder.size() - 1);
  return without.find('\\') == std::string::npos ? std::string() : ExtractFilePath(without);
}

// The data of a document in folder whose run's list names source.
std::string MainDataIn(const std::string& folder, const std::string& source) {
  WIN32_FIND_DATAA found{};
  HANDLE search = FindFirstFileA((folder + kWorkFolder + "*.inputs").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return {};
  std::string data;
  do {
    TextBlock list;
    if (ReadFileBlock(folder + kWorkFolder + found.cFileName, list, kListLimit) != ReadStatus::Ok) continue;
    const std::string candidate = folder + ChangeFileExt(found.cFileName, kDataExt);
    for (const std::string& name : ParseRunInputs({list.data.get(), list.size}, folder)) {
      if (SameIgnoringAsciiCase(name, source) && FileExists(candidate)) data = candidate;
    }
  } while (data.empty() && FindNextFileA(search, &found));
  FindClose(search);
  return data;
}

bool Stamp(const std::string& file, std::uint64_t& stamp, std::uint64_t& size) {
  WIN32_FILE_ATTRIBUTE_DATA a{};
  if (!GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &a)) return false;
  stamp = std::uint64_t{a.ftLastWriteTime.dwHighDateTime} << 32 | a.ftLastWriteTime.dwLowDateTime;
  size = std::uint64_t{a.nFileSizeHigh} << 32 | a.nFileSizeLow;
  return true;
}

}  // namespace

ForwardSearch::ForwardSearch() = default;
ForwardSearch::~ForwardSearch() = default;

std::string ForwardSearch::DataFor(const std::string& source) {
  if (std::string own = ChangeFileExt(source, kDataExt); FileExists(own)) return own;
  std::string folder = ExtractFilePath(source);
  for (int up = 0; up < 3 && !folder.empty(); ++up, folder = Parent(folder)) {
    if (std::string data = MainDataIn(folder, source); !data.empty()) return data;
  }
  return {};
}

const SynctexReader* ForwardSearch::ReaderOf(const std::string& data_file) {
  std::uint64_t stamp = 0, size = 0;
  if (!Stamp(data_file, stamp, size)) return nullptr;
  if (reader_ && file_ == data_file && stamp == stamp_ && size == size_) return reader_.get();
  reader_.reset();
  TextBlock bytes;
  std::string text;
  if (ReadFileBlock(data_file, bytes, kDataLimit) != ReadStatus::Ok ||
      !SynctexText({bytes.data.get(), bytes.size}, text, kDataLimit)) {
    return nullptr;
  }
  bytes = {};
  reader_ = std::make_unique<SynctexReader>(text);
  file_ = data_file, stamp_ = stamp, size_ = size;
  return reader_.get();
}

// The engine ran in the work folder, so relative names in the data are read from there;
// data an engine wrote outside TeX Quillet names them from the document's own folder.
ForwardPlace ForwardSearch::Find(const std::string& source, int line) {
  std::string data_file = DataFor(source);
  const SynctexReader* reader = data_file.empty() ? nullptr : ReaderOf(data_file);
  if (!reader) return {};
  std::string folder = ExtractFilePath(data_file);
  ForwardPlace place{data_file.substr(0, data_file.size() - std::string_view(kDataExt).size()) + ".dvi"};
  const std::string work = folder + kWorkFolder;
  for (const std::string& from : {work.substr(0, work.size() - 1), folder.substr(0, folder.size() - 1)}) {
    place.page = reader->Forward(source, from, line, SystemCodePage()).page;
    if (place.page > 0) break;
  }
  return place;
}

}  // namespace quillet
