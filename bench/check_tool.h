#pragma once
// Times one run of the built `tovuri-check -l` over a text, as a person would
// start it, with a home folder of its own so no real settings are touched.
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace tovuri::bench {

// CPU seconds (user and system) of the processes a command ran.
inline double ChildCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Seconds of the run (wall time, or with cpu set the CPU time of the tool and
// its shell: the figure to read on a shared machine), or a negative value
// when the tool failed.
inline double TimeListUnknown(const std::filesystem::path& home, const std::filesystem::path& text,
                              const std::string& options, bool cpu = false) {
  const std::string tool = std::string(TOVURI_BIN_DIR) + "/tovuri-check";
  const std::string command = "HOME=" + home.string() + " XDG_CONFIG_HOME=" + home.string() +
                              "/.config XDG_DATA_HOME=" + home.string() + "/.local/share " +
                              tool + " " + options + " --list " + text.string() + " > /dev/null";
  const double cpu_before = ChildCpuSeconds();
  const auto start = std::chrono::steady_clock::now();
  const int status = std::system(command.c_str());
  const auto elapsed = std::chrono::steady_clock::now() - start;
  if (status == -1 || WEXITSTATUS(status) > 1) return -1;
  if (cpu) return ChildCpuSeconds() - cpu_before;
  return std::chrono::duration<double>(elapsed).count();
}

}  // namespace tovuri::bench
