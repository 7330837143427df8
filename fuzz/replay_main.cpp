// Runs a fuzz target over saved inputs (files, or every file of a folder) without the
// fuzzing engine: how the test suite replays the corpora and the regression cases with
// the ordinary compiler and its sanitizers.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

std::vector<std::filesystem::path> InputsOf(const std::filesystem::path& place) {
  std::vector<std::filesystem::path> inputs;
  if (std::filesystem::is_directory(place)) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(place)) {
      if (entry.is_regular_file()) inputs.push_back(entry.path());
    }
  } else if (std::filesystem::is_regular_file(place)) {
    inputs.push_back(place);
  }
  std::sort(inputs.begin(), inputs.end());
  return inputs;
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t count = 0;
  for (int i = 1; i < argc; ++i) {
    for (const auto& input : InputsOf(argv[i])) {
      std::ifstream in(input, std::ios::binary);
      std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
      ++count;
    }
  }
  std::printf("%zu inputs replayed\n", count);
  // A target without a single saved input has lost its corpus.
  return count > 0 ? 0 : 1;
}
