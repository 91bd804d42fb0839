// The one error type of the program: a failed conversion or file operation that ends the
// current command. Its text (UTF-8, Japanese) is what the user is shown.
#pragma once
#include <stdexcept>
#include <string>

namespace corvane {

class CorvaneError : public std::runtime_error {
 public:
  explicit CorvaneError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace corvane
