#pragma once

#include <optional>
#include <string>

namespace gl::test {

// Sets an environment variable (or removes it when `value` is none) for the object's lifetime,
// then puts back what was there before.
class ScopedEnvironment {
 public:
  ScopedEnvironment(std::string name, const std::optional<std::string>& value);
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
  ~ScopedEnvironment();

 private:
  std::string name_;
  std::optional<std::string> previous_;
};

}  // namespace gl::test
