// What long and unusual input costs the tools a person runs: one ispell pipe
// line of 64 KiB and of 1 MiB (the same misspelt word over and over, and
// distinct made-up words), and `tovuri-check --list --no-learn` over 20 MB and
// 200 MB of distinct unknown words, with its peak memory.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>

namespace {

namespace fs = std::filesystem;

// A folder of the run's own: the inputs and an empty home.
struct Scratch {
  fs::path root;
  Scratch() {
    std::string pattern = (fs::temp_directory_path() / "tovuri-long-input-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    root = pattern;
  }
  ~Scratch() {
    std::error_code error;
    fs::remove_all(root, error);
  }
};

const Scratch& TheScratch() {
  static const Scratch scratch;
  return scratch;
}

// Made-up words of three to nine letters, each different from the others
// with a number's letters, so no two repeat however many are made.
std::string DistinctWord(std::mt19937& random, size_t index) {
  std::string word;
  for (size_t n = index; n > 0 || word.empty(); n /= 20) word += static_cast<char>('b' + n % 20);
  std::uniform_int_distribution<int> extra(2, 5);
  for (int i = extra(random); i > 0; --i) word += "aeiou"[random() % 5];
  return word;
}

// A file of bytes of words; repeated: the one misspelt word again and again.
fs::path WriteWords(const std::string& name, size_t bytes, bool repeated, const std::string& prefix,
                    const std::string& separator) {
  const fs::path path = TheScratch().root / name;
  if (fs::exists(path)) return path;
  std::ofstream out(path, std::ios::binary);
  std::mt19937 random(7);
  out << prefix;
  size_t written = prefix.size();
  for (size_t i = 0; written < bytes; ++i) {
    const std::string word = repeated ? "abntu" : DistinctWord(random, i);
    out << word << separator;
    written += word.size() + separator.size();
  }
  out << '\n';
  return path;
}

struct Run {
  double seconds = -1;
  long peak_kib = 0;
};

// Runs the built tovuri-check with its input from a file, as a person would,
// and measures the wall time and the child's peak resident memory.
Run RunTool(const std::string& arguments, const fs::path& input) {
  const fs::path home = TheScratch().root / "home";
  fs::create_directories(home);
  const std::string command = "HOME=" + home.string() + " XDG_CONFIG_HOME=" + home.string() +
                              "/config XDG_DATA_HOME=" + home.string() + "/data " + TOVURI_BIN_DIR +
                              "/tovuri-check " + arguments + " < " + input.string() + " > /dev/null 2>&1";
  const auto start = std::chrono::steady_clock::now();
  const int status = std::system(command.c_str());
  Run run;
  if (status == -1 || WEXITSTATUS(status) > 1) return run;
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  run.peak_kib = usage.ru_maxrss;  // the largest child so far: runs go smallest first
  return run;
}

void Measure(benchmark::State& state, const std::string& arguments, const fs::path& input) {
  Run run;
  for (auto _ : state) {
    run = RunTool(arguments, input);
    if (run.seconds < 0) {
      state.SkipWithError("tovuri-check failed");
      return;
    }
    state.SetIterationTime(run.seconds);
  }
  state.counters["input_MB"] = static_cast<double>(fs::file_size(input)) / 1e6;
  state.counters["peak_MB"] = static_cast<double>(run.peak_kib) / 1024.0;
}

void BM_PipeLineOfOneTypo(benchmark::State& state) {
  const size_t bytes = static_cast<size_t>(state.range(0)) * 1024;
  Measure(state, "--no-learn -a", WriteWords("typo" + std::to_string(bytes), bytes, true, "^", " "));
}

void BM_PipeLineOfDistinctWords(benchmark::State& state) {
  const size_t bytes = static_cast<size_t>(state.range(0)) * 1024;
  Measure(state, "--no-learn -a", WriteWords("distinct" + std::to_string(bytes), bytes, false, "^", " "));
}

void BM_ListDistinctUnknownWords(benchmark::State& state) {
  const size_t bytes = static_cast<size_t>(state.range(0)) * 1'000'000;
  Measure(state, "--no-learn --list",
          WriteWords("list" + std::to_string(bytes), bytes, false, "", "\n"));
}

BENCHMARK(BM_PipeLineOfOneTypo)->Arg(64)->Arg(1024)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_PipeLineOfDistinctWords)->Arg(64)->Arg(1024)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);
// Long: 200 MB takes minutes. --benchmark_filter=ListDistinct/20 for the short one.
BENCHMARK(BM_ListDistinctUnknownWords)->Arg(20)->Arg(200)->UseManualTime()->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
