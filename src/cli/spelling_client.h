#pragma once
// Asks the running desktop program about words over the D-Bus session bus,
// without Qt (through libdbus), so the command-line tools stay light.
#include <string>
#include <string_view>

struct DBusConnection;

namespace tovuri {

// What became of one query.
enum class TQueryStatus : unsigned char { qsAnswered, qsNotRunning, qsFailed };

struct TQueryResult {
  TQueryStatus status;
  std::string text;  // the answer, or what went wrong
};

// One private connection to the session bus.
class TSpellingClient {
 public:
  TSpellingClient();
  ~TSpellingClient();
  TSpellingClient(const TSpellingClient&) = delete;
  TSpellingClient& operator=(const TSpellingClient&) = delete;

  // Whether the bus was reached; Error says why not.
  bool Connected() const { return connection_ != nullptr; }
  const std::string& Error() const { return error_; }

  // Executes a macro (UTF-8) on the program that owns bus_name.
  TQueryResult Execute(const std::string& bus_name, std::string_view macro);

 private:
  DBusConnection* connection_ = nullptr;
  std::string error_;
};

}  // namespace tovuri
