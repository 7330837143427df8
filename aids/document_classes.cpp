#include "aids/document_classes.h"

#include <algorithm>

#include "core/byte_scan.h"
#include "core/sjis.h"
#include "tex/platex_characters.h"

namespace quillet {

namespace {

constexpr const char* kEngineNames[] = {"pLaTeX", "upLaTeX", "LaTeX"};

constexpr char kListComment[] = "; quillet-tex --classes: the files of the wizard's classes that the installed TeX has";

// The files a variant needs: its class file and what the class loads.
std::vector<std::string> FilesOf(const DocClass& c, const ClassVariant& v) {
  std::vector<std::string> files = ListItems(c.needs);
  files.insert(files.begin(), std::string(v.file) + ".cls");
  return files;
}

}  // namespace

const char* EngineMenuText(TeXEngine engine) { return kEngineNames[static_cast<int>(engine)]; }

std::optional<TeXEngine> EngineOfFormat(std::string_view format_name) {
  if (IsUpLaTeXFormat(format_name)) return TeXEngine::kUpLaTeX;
  if (IsPTeXFormat(format_name)) return TeXEngine::kPLaTeX;
  for (std::size_t at = 0; at + 5 <= format_name.size(); ++at) {
    if (SameIgnoringAsciiCase(format_name.substr(at, 5), "latex")) return TeXEngine::kLaTeX;
  }
  return std::nullopt;
}

std::string ClassDescription(const DocClass& c) {
  return std::string(c.purpose).append("\r\n(").append(c.kind).append(")");
}

const DocClass* FindDocClass(std::string_view name) {
  auto found = std::find_if(kDocClasses.begin(), kDocClasses.end(), [name](const DocClass& c) { return c.name == name; });
  return found == kDocClasses.end() ? nullptr : &*found;
}

std::vector<ClassVariant> Variants(const DocClass& c) {
  std::vector<ClassVariant> variants;
  for (const ClassVariant& v : c.variants) {
    if (v.file) variants.push_back(v);
  }
  return variants;
}

std::optional<ClassVariant> VariantFor(const DocClass& c, TeXEngine engine) {
  for (const ClassVariant& v : Variants(c)) {
    if (v.engine == engine) return v;
  }
  return std::nullopt;
}

bool NeedsUtf8Document(std::string_view class_name, TeXEngine engine) {
  const DocClass* c = FindDocClass(class_name);
  std::optional<ClassVariant> variant = c ? VariantFor(*c, engine) : std::nullopt;
  return variant && variant->utf8_only;
}

std::vector<std::string> ListItems(std::string_view list) {
  std::vector<std::string> items;
  while (!list.empty()) {
    std::size_t comma = list.find(',');
    items.emplace_back(list.substr(0, comma));
    list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
  }
  return items;
}

std::vector<std::string> FilesToFind() {
  std::vector<std::string> files;
  for (const DocClass& c : kDocClasses) {
    for (const ClassVariant& v : Variants(c)) {
      for (std::string& file : FilesOf(c, v)) {
        if (std::find(files.begin(), files.end(), file) == files.end()) files.push_back(std::move(file));
      }
    }
  }
  return files;
}

std::string ClassListText(const std::vector<std::string>& found) {
  std::string text = std::string(kListComment) + "\r\n";
  for (const std::string& name : found) text.append(name).append("\r\n");
  return text;
}

std::set<std::string> ParseClassList(std::string_view text) {
  std::set<std::string> names;
  for (std::string_view line : SplitTextLines(text)) {
    line = Trimmed(line);
    if (!line.empty() && line.front() != ';') names.emplace(line);
  }
  return names;
}

std::vector<OfferedClass> OfferedClasses(const InstalledClasses& installed) {
  std::vector<OfferedClass> offered;
  for (const DocClass& c : kDocClasses) {
    OfferedClass row{&c, Variants(c)};
    if (installed) {
      std::erase_if(row.variants, [&](const ClassVariant& v) {
        std::vector<std::string> files = FilesOf(c, v);
        return !std::all_of(files.begin(), files.end(), [&](const std::string& f) { return installed->contains(f); });
      });
    }
    if (!row.variants.empty()) offered.push_back(std::move(row));
  }
  return offered.empty() && installed ? OfferedClasses(std::nullopt) : offered;
}

}  // namespace quillet
