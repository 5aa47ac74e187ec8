#pragma once
#include <string>
#include <vector>

namespace tovuri {

// tovuri-check --query: sends each word to the running desktop program and
// prints each answer on its own line. service is a bus name, or a program
// name that becomes one (the desktop program's by default). Exit status 0
// when every answer is "Yes ...", 1 otherwise or when the program cannot be reached.
int QueryWords(const std::string& service, const std::vector<std::string>& words);

}  // namespace tovuri
