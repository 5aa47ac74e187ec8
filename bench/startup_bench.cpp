// Start-up of tovuri-check as a whole process on the shipped data: one word
// that only the analyser accepts, so the run loads the lexicon, opens the
// dictionaries and reaches the word check index. Wall time per run, with the
// child's CPU time and peak resident memory as counters; a fresh home each run.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

// Known to the analyser only: the word list holds no forms with an object concord.
constexpr const char* kAnalyserOnlyWord = "ngiyabathandisisa";

struct Outcome {
  double wall_seconds = -1;
  double cpu_seconds = 0;
  double peak_megabytes = 0;
};

// input: a file for standard input, or empty for none.
Outcome RunOnce(const fs::path& home, const std::vector<std::string>& arguments,
                const fs::path& input) {
  std::vector<std::string> env = {"HOME=" + home.string(),
                                  "XDG_CONFIG_HOME=" + (home / ".config").string(),
                                  "XDG_DATA_HOME=" + (home / ".local/share").string(), "LANG=C"};
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  std::vector<std::string> args = arguments;
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, input.empty() ? "/dev/null" : input.c_str(),
                                   O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  Outcome outcome;
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return outcome;
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) > 1)
    return outcome;
  outcome.wall_seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const auto seconds = [](timeval t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  outcome.cpu_seconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
  outcome.peak_megabytes = static_cast<double>(usage.ru_maxrss) / 1024.0;
  return outcome;
}

void RunTool(benchmark::State& state, const std::vector<std::string>& arguments,
             const std::string& input = {}) {
  std::string pattern = (fs::temp_directory_path() / "tovuri-startup-bench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  const fs::path root = pattern;
  fs::path input_file;
  if (!input.empty()) {
    input_file = root / "input.txt";
    std::ofstream(input_file) << input;
  }
  double cpu = 0;
  double peak = 0;
  int run = 0;
  for (auto _ : state) {
    const fs::path home = root / ("home" + std::to_string(run++));
    fs::create_directories(home);
    const Outcome outcome = RunOnce(home, arguments, input_file);
    if (outcome.wall_seconds < 0) {
      state.SkipWithError("tovuri-check failed");
      break;
    }
    state.SetIterationTime(outcome.wall_seconds);
    cpu += outcome.cpu_seconds;
    peak = std::max(peak, outcome.peak_megabytes);
  }
  state.counters["cpu_ms"] = benchmark::Counter(1000 * cpu / std::max(run, 1));
  state.counters["peak_rss_MB"] = benchmark::Counter(peak);
  std::error_code error;
  fs::remove_all(root, error);
}

const std::string kTool = std::string(TOVURI_BIN_DIR) + "/tovuri-check";

// The usual start: the word check index mapped from Ndebele.idx.
void BM_WordsAnalyserOnlyWord(benchmark::State& state) {
  RunTool(state, {kTool, "--no-learn", "--words", kAnalyserOnlyWord});
}

// The same with the index built in memory (a data folder without the file).
void BM_WordsAnalyserOnlyWordWithoutIndexFile(benchmark::State& state) {
  static const fs::path data = [] {
    const fs::path dir = fs::temp_directory_path() / "tovuri-startup-bench-data";
    fs::create_directories(dir);
    for (const char* file : {"dictionary.txt", "passives.txt", "Ndebele.oxm"})
      fs::copy_file(fs::path(TOVURI_BIN_DIR) / file, dir / file,
                    fs::copy_options::overwrite_existing);
    return dir;
  }();
  RunTool(state, {kTool, "--data", data.string(), "--no-learn", "--words", kAnalyserOnlyWord});
}

// The pipe mode answering one line: its banner, then the word's verdict.
void BM_PipeModeFirstLine(benchmark::State& state) {
  RunTool(state, {kTool, "--no-learn", "-a"}, std::string(kAnalyserOnlyWord) + "\n");
}

BENCHMARK(BM_PipeModeFirstLine)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_WordsAnalyserOnlyWord)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_WordsAnalyserOnlyWordWithoutIndexFile)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
