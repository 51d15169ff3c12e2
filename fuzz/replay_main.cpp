// Runs a fuzz target over every file of the seed folders given on the command
// line, so that the seeds stay a regression test without libFuzzer.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  int files = 0;
  // All names first: a target may change the working directory.
  std::vector<fs::path> paths;
  for (int i = 1; i < argc; ++i) {
    const fs::path arg = fs::absolute(argv[i]);
    if (fs::is_directory(arg)) {
      for (const auto& e : fs::recursive_directory_iterator(arg))
        if (e.is_regular_file()) paths.push_back(e.path());
    } else {
      paths.push_back(arg);
    }
  }
  for (const fs::path& p : paths) {
    std::ifstream in(p, std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "cannot read %s\n", p.c_str());
      return 1;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    ++files;
  }
  std::printf("replayed %d inputs\n", files);
  return files > 0 ? 0 : 1;
}
