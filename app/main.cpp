#include "app/program.hpp"

int main(int argc, char** argv) {
  return zta::run_program(argc, argv);
}
