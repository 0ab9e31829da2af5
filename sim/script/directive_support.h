// What every lwsim directive needs: its argument words checked and read.
// A bad argument throws DirectiveError, which stops the script at its line.
#pragma once

#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace lwsim {

using Words = std::vector<std::string>;
using DirectiveTable = std::map<std::string, std::function<void(const Words &)>>;

class DirectiveError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

void requireArguments(const Words &args, std::size_t least, std::size_t most, const char *usage);
// Decimal, or hexadecimal with 0x.
int integerArgument(const std::string &word, const char *what);
double numberArgument(const std::string &word, const char *what);

}  // namespace lwsim
