#pragma once
// Times one run of the built `tovuri-check -l` over a text, as a person would
// start it, with a home folder of its own so no real settings are touched.
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace tovuri::bench {

// Wall seconds of the run, or a negative value when the tool failed.
inline double TimeListUnknown(const std::filesystem::path& home,
                              const std::filesystem::path& text, const std::string& options) {
  const std::string tool = std::string(TOVURI_BIN_DIR) + "/tovuri-check";
  const std::string command = "HOME=" + home.string() + " XDG_CONFIG_HOME=" + home.string() +
                              "/.config XDG_DATA_HOME=" + home.string() + "/.local/share " +
                              tool + " " + options + " -l " + text.string() + " > /dev/null";
  const auto start = std::chrono::steady_clock::now();
  const int status = std::system(command.c_str());
  const auto elapsed = std::chrono::steady_clock::now() - start;
  if (status == -1 || WEXITSTATUS(status) > 1) return -1;
  return std::chrono::duration<double>(elapsed).count();
}

}  // namespace tovuri::bench
