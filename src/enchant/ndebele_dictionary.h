#pragma once
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "checker/ndebele_checker.h"

namespace tovuri {

// What stands behind one Enchant dictionary: the configured checker with the
// user's files, spoken to in UTF-8. Every call takes the dictionary's lock, so
// a host may use it from any thread; two dictionaries check in parallel.
class TNdebeleDictionary {
 public:
  // Null when the data folder is unusable.
  static std::unique_ptr<TNdebeleDictionary> Open(const std::string& data_dir);
  ~TNdebeleDictionary();
  TNdebeleDictionary(const TNdebeleDictionary&) = delete;
  TNdebeleDictionary& operator=(const TNdebeleDictionary&) = delete;

  bool Check(std::string_view word);
  std::vector<std::string> Suggest(std::string_view word);
  void AddToPersonal(std::string_view word);
  void AddToSession(std::string_view word);
  void AddToExclude(std::string_view word);
  void StoreReplacement(std::string_view misspelt, std::string_view replacement);

 private:
  explicit TNdebeleDictionary(const std::string& data_dir);

  std::mutex mutex_;
  TNdebeleChecker checker_;
};

}  // namespace tovuri
