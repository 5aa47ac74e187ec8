// Word queries per second answered by the running desktop program, asked
// through a direct D-Bus client and through "tovuri-check --query". The
// program runs offscreen on a private session bus with a home of its own.
// Wall time is the measure (two processes take part); the counters give the
// CPU each query costs the client and the program.
#include <benchmark/benchmark.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "cli/spelling_client.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

const std::string kBusName = "org.tovuri.tovuri";

// The desktop program, started for the benchmarks and stopped after them.
class RunningProgram {
 public:
  RunningProgram() {
    std::string pattern = (fs::temp_directory_path() / "tovuri-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return;
    home_ = pattern;
    setenv("HOME", home_.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home_ / "config").c_str(), 1);
    setenv("XDG_DATA_HOME", (home_ / "data").c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const std::string program = std::string(TOVURI_BIN_DIR) + "/tovuri";
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
    if (posix_spawn(&pid_, program.c_str(), nullptr, nullptr, argv, environ) != 0) pid_ = -1;
  }
  ~RunningProgram() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
    std::error_code ignored;
    if (!home_.empty()) fs::remove_all(home_, ignored);
  }

  // Waits until the program answers, and teaches it the analyser-only word.
  bool Ready() const {
    if (pid_ <= 0) return false;
    tovuri::TSpellingClient client;
    for (int i = 0; i < 600; ++i) {
      if (client.Execute(kBusName, "simbona").status == tovuri::TQueryStatus::qsAnswered) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }

  // CPU seconds the program has used so far.
  double CpuSeconds() const {
    std::ifstream in("/proc/" + std::to_string(pid_) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // Fields after the command name (which may hold blanks) start at field 3;
    // utime and stime are fields 14 and 15.
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string field;
    double ticks = 0;
    for (int number = 3; number <= 15 && fields >> field; ++number)
      if (number >= 14) ticks += std::stod(field);
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
  }

 private:
  fs::path home_;
  pid_t pid_ = -1;
};

const RunningProgram* program = nullptr;

double ChildrenCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void ProgramCpuPerQuery(benchmark::State& state, double program_before, double queries) {
  state.counters["program_cpu_us_per_query"] = (program->CpuSeconds() - program_before) * 1e6 / queries;
}

// One round trip per query on an open connection.
void BM_DirectClient(benchmark::State& state, const char* word) {
  tovuri::TSpellingClient client;
  const double program_before = program->CpuSeconds();
  for (auto _ : state) {
    const tovuri::TQueryResult result = client.Execute(kBusName, word);
    if (result.status != tovuri::TQueryStatus::qsAnswered) state.SkipWithError(result.text.c_str());
  }
  state.SetItemsProcessed(state.iterations());
  ProgramCpuPerQuery(state, program_before, static_cast<double>(state.iterations()));
}
BENCHMARK_CAPTURE(BM_DirectClient, dictionary_word, "umuntu")->UseRealTime();
BENCHMARK_CAPTURE(BM_DirectClient, learnt_word, "simbona")->UseRealTime();
BENCHMARK_CAPTURE(BM_DirectClient, misspelt_word, "qwxz")->UseRealTime();

// One tovuri-check --query run (a process and a bus connection) for
// state.range(0) words, a third of them each of the three kinds above.
void BM_TovuriCheckQuery(benchmark::State& state) {
  std::string command = std::string(TOVURI_BIN_DIR) + "/tovuri-check --query";
  const char* words[] = {"umuntu", "simbona", "qwxz"};
  for (int i = 0; i < state.range(0); ++i) command += std::string(" ") + words[i % 3];
  command += " > /dev/null";
  const double program_before = program->CpuSeconds();
  const double children_before = ChildrenCpuSeconds();
  for (auto _ : state) {
    const int status = std::system(command.c_str());
    if (status == -1 || WEXITSTATUS(status) > 1) state.SkipWithError("tovuri-check --query failed");
  }
  const double queries = static_cast<double>(state.iterations() * state.range(0));
  state.SetItemsProcessed(static_cast<int64_t>(queries));
  state.counters["client_cpu_us_per_query"] = (ChildrenCpuSeconds() - children_before) * 1e6 / queries;
  ProgramCpuPerQuery(state, program_before, queries);
}
BENCHMARK(BM_TovuriCheckQuery)->Arg(1)->Arg(100)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  // A bus of its own, so no desktop's Tovuri answers and none is disturbed.
  if (getenv("TOVURI_PRIVATE_BUS") == nullptr) {
    std::vector<char*> args = {const_cast<char*>("dbus-run-session"), const_cast<char*>("--"),
                               const_cast<char*>("env"), const_cast<char*>("TOVURI_PRIVATE_BUS=1")};
    for (int i = 0; i < argc; ++i) args.push_back(argv[i]);
    args.push_back(nullptr);
    execvp(args[0], args.data());
    std::perror("bench_query_service_bench: dbus-run-session");
    return 1;
  }
  const RunningProgram running;
  if (!running.Ready()) {
    std::fprintf(stderr, "bench_query_service_bench: the tovuri program did not answer on the bus\n");
    return 1;
  }
  program = &running;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
