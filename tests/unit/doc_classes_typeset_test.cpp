// Every class the wizard offers on this machine, with every engine it pairs with, is
// typeset by the real engine: the bare skeleton, and one with every box ticked and every
// option the wizard suggests for the class. Skipped where TeX Live's pLaTeX is missing.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <thread>

#include <unistd.h>

#include "aids/doc_skeleton.h"
#include "bridges/class_list.h"
#include "tests/unit/iconv_code_page.h"

namespace quillet {
namespace {

namespace fs = std::filesystem;

std::string Output(const std::string& command) {
  std::string text;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, n);
    pclose(pipe);
  }
  return text;
}

// What the bridge would list here, asked the way it asks.
InstalledClasses InstalledHere() {
  std::vector<std::string> found = FoundFiles(Output(FindFilesCommand(FilesToFind()) + " 2>/dev/null"));
  return std::set<std::string>(found.begin(), found.end());
}

std::string Joined(std::initializer_list<const char*> lists) {
  std::string joined;
  for (const char* list : lists) {
    if (*list) joined.append(joined.empty() ? "" : ",").append(list);
  }
  return joined;
}

DocChoices Everything(const DocClass& c, TeXEngine engine) {
  bool latin = engine == TeXEngine::kLaTeX;  // LaTeX sets no Japanese
  return {.style = c.name, .engine = engine, .base_size = c.sizes, .paper_size = c.papers,
          .other_options = Joined({c.others, latin ? "" : "ascmac"}), .title_page = true, .use_index = true,
          .title = latin ? "Title" : "表題", .author1 = latin ? "A" : "山田", .author2 = latin ? "B" : "佐藤",
          .date = "\\today", .thanks = latin ? "Thanks" : "感謝", .page_style = "headings", .contents = true,
          .figure_contents = true, .table_contents = true};
}

struct TeXRun {
  std::string name;
  TeXEngine engine;
  DocChoices choices;
};

// The engine's program: its menu text in lower case.
std::string EngineProgram(TeXEngine engine) {
  std::string name = EngineMenuText(engine);
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return name;
}

// What went wrong when the engine typeset the run's document in dir; empty when nothing did.
std::string Typeset(const fs::path& dir, const TeXRun& run) {
  std::string text;
  for (const std::string& line : SkeletonLines(run.choices)) text.append(line).append("\n");
  // The program's own Shift-JIS, unless the class needs UTF-8 (LaTeX reads nothing else).
  std::string engine = EngineProgram(run.engine);
  if (run.engine == TeXEngine::kLaTeX || NeedsUtf8Document(run.choices.style, run.engine)) {
    text = Iconv(text, "CP932", "UTF-8");
    if (run.engine != TeXEngine::kLaTeX) engine += " -kanji=utf8";
  } else {
    engine += " -kanji=sjis";
  }
  std::ofstream(dir / (run.name + ".tex"), std::ios::binary) << text;
  int status = std::system(("cd '" + dir.string() + "' && " + engine +
                            " -interaction=nonstopmode -halt-on-error '" + run.name + ".tex' >/dev/null 2>&1")
                               .c_str());
  std::ifstream log(dir / (run.name + ".log"), std::ios::binary);
  std::string problems = status == 0 ? "" : "exit status " + std::to_string(status) + "\n";
  for (std::string line; std::getline(log, line);) {
    for (const char* mark : {"! ", "!!WARNING!!", "LaTeX 2.09", "Unused global option"}) {
      if (line.find(mark) != std::string::npos) problems += line + "\n";
    }
  }
  return problems.empty() ? "" : run.name + " (" + EngineMenuText(run.engine) + "):\n" + problems;
}

TEST(DocClassesTypesetTest, EveryOfferedClassTypesetsWithEachOfItsEngines) {
  if (std::system("command -v platex >/dev/null 2>&1") != 0) GTEST_SKIP() << "platex is not installed";
  std::vector<TeXRun> runs;
  for (const OfferedClass& row : OfferedClasses(InstalledHere())) {
    for (const ClassVariant& v : row.variants) {
      std::string name = std::string(row.doc_class->name) + "-" + EngineProgram(v.engine);
      runs.push_back({name + "-bare", v.engine, {.style = row.doc_class->name, .engine = v.engine}});
      runs.push_back({name + "-full", v.engine, Everything(*row.doc_class, v.engine)});
    }
  }
  fs::path dir = fs::temp_directory_path() / ("quillet-classes-" + std::to_string(getpid()));
  fs::create_directories(dir);
  std::vector<std::string> problems(runs.size());
  std::atomic<std::size_t> next = 0;
  std::vector<std::thread> workers(std::max(2u, std::thread::hardware_concurrency()));
  for (std::thread& worker : workers) {
    worker = std::thread([&] {
      for (std::size_t i; (i = next++) < runs.size();) problems[i] = Typeset(dir, runs[i]);
    });
  }
  for (std::thread& worker : workers) worker.join();
  fs::remove_all(dir);
  for (const std::string& problem : problems) EXPECT_EQ(problem, "");
  std::cout << runs.size() << " documents typeset\n";
}

}  // namespace
}  // namespace quillet
