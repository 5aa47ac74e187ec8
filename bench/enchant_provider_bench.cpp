// The Enchant provider as a host meets it: the time from requesting the "nd"
// dictionary to the first verdict, and the memory the provider adds to the
// host, each measured cold in a fresh child process; then warm checks and
// suggestions. The module is loaded as Enchant loads it (dlopen, then
// init_enchant_provider).
#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <enchant-provider.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

using Init = EnchantProvider* (*)();

long ResidentKilobytes() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

double CpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

EnchantProvider* LoadProvider() {
  void* module = dlopen(TOVURI_ENCHANT_MODULE, RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) return nullptr;
  const auto init = reinterpret_cast<Init>(dlsym(module, "init_enchant_provider"));
  return init != nullptr ? init() : nullptr;
}

struct ColdRun {
  double wall_seconds = 0;  // request to first verdict
  double cpu_seconds = 0;
  double added_kilobytes = 0;  // resident memory after the verdict less before loading
  int verdict = -1;
};

// In a child process, so every run starts cold.
ColdRun RunCold(const std::string& word) {
  int fds[2];
  ColdRun run;
  if (pipe(fds) != 0) return run;
  const pid_t child = fork();
  if (child == 0) {
    close(fds[0]);
    const long before = ResidentKilobytes();
    EnchantProvider* provider = LoadProvider();
    const auto start = std::chrono::steady_clock::now();
    const double cpu_start = CpuSeconds();
    EnchantDict* dict = provider != nullptr ? provider->request_dict(provider, "nd") : nullptr;
    ColdRun measured;
    if (dict != nullptr) measured.verdict = dict->check(dict, word.data(), word.size());
    measured.cpu_seconds = CpuSeconds() - cpu_start;
    measured.wall_seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    measured.added_kilobytes = static_cast<double>(ResidentKilobytes() - before);
    if (write(fds[1], &measured, sizeof measured) != sizeof measured) _exit(1);
    _exit(0);
  }
  close(fds[1]);
  if (read(fds[0], &run, sizeof run) != sizeof run) run.verdict = -1;
  close(fds[0]);
  waitpid(child, nullptr, 0);
  return run;
}

void FirstVerdict(benchmark::State& state, const std::string& word) {
  double cpu = 0, added = 0;
  for (auto _ : state) {
    const ColdRun run = RunCold(word);
    if (run.verdict != 0) {
      state.SkipWithError("the provider did not accept the word");
      return;
    }
    state.SetIterationTime(run.wall_seconds);
    cpu += run.cpu_seconds;
    added += run.added_kilobytes;
  }
  const auto runs = static_cast<double>(state.iterations());
  state.counters["cpu_ms"] = cpu / runs * 1000;
  state.counters["added_MB"] = added / runs / 1024;
}

// "umuntu" is in the main dictionary; "simbona" only the analyser accepts,
// so its first verdict also builds the analyser's index.
BENCHMARK_CAPTURE(FirstVerdict, dictionary_word, std::string("umuntu"))
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK_CAPTURE(FirstVerdict, analysed_word, std::string("simbona"))
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// One dictionary for the warm runs, requested once.
EnchantDict* WarmDict() {
  static EnchantDict* dict = [] {
    EnchantProvider* provider = LoadProvider();
    return provider != nullptr ? provider->request_dict(provider, "nd") : nullptr;
  }();
  return dict;
}

void WarmCheck(benchmark::State& state) {
  EnchantDict* dict = WarmDict();
  if (dict == nullptr) return state.SkipWithError("no dictionary");
  const std::vector<std::string> words = {"umuntu", "abantu", "simbona", "bayahamba", "abntu", "inja"};
  // Verdicts once beforehand: the analyser's index and the remembered verdicts are in place.
  for (const std::string& word : words) dict->check(dict, word.data(), word.size());
  for (auto _ : state)
    for (const std::string& word : words)
      benchmark::DoNotOptimize(dict->check(dict, word.data(), word.size()));
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(words.size()));
}
BENCHMARK(WarmCheck);

void WarmSuggest(benchmark::State& state) {
  EnchantDict* dict = WarmDict();
  if (dict == nullptr) return state.SkipWithError("no dictionary");
  const std::string word = "abantuu";
  for (auto _ : state) {
    size_t count = 0;
    char** list = dict->suggest(dict, word.data(), word.size(), &count);
    benchmark::DoNotOptimize(list);
    for (size_t i = 0; i < count; ++i) free(list[i]);
    free(list);
  }
}
BENCHMARK(WarmSuggest)->Unit(benchmark::kMillisecond);

// Per-user files go to a temporary home, the data is the build's.
class TemporaryHome {
 public:
  TemporaryHome() {
    std::string pattern = (fs::temp_directory_path() / "tovuri-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) root_ = pattern;
    setenv("HOME", root_.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
    setenv("XDG_DATA_HOME", (root_ / "data").c_str(), 1);
    setenv("TOVURI_DATA_DIR", TOVURI_BIN_DIR, 1);
  }
  ~TemporaryHome() {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }

 private:
  fs::path root_;
};

}  // namespace

int main(int argc, char** argv) {
  const TemporaryHome home;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
