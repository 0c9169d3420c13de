#include <iostream>

#include "cli/cli.h"

int main(int argc, char** argv) {
  return gl::cli::RunGleaner(argc, argv, std::cout, std::cerr);
}
