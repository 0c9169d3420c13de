#include "scoped_environment.h"

#include <stdlib.h>

namespace gl::test {
namespace {

void Put(const std::string& name, const std::optional<std::string>& value) {
  if (value)
    setenv(name.c_str(), value->c_str(), 1);
  else
    unsetenv(name.c_str());
}

}  // namespace

ScopedEnvironment::ScopedEnvironment(std::string name, const std::optional<std::string>& value)
    : name_(std::move(name)) {
  if (const char* previous = getenv(name_.c_str())) previous_ = previous;
  Put(name_, value);
}

ScopedEnvironment::~ScopedEnvironment() {
  Put(name_, previous_);
}

}  // namespace gl::test
