// The floor the command line's start-up is measured against: a program that links only
// the C++ standard library and prints one line.
#include <iostream>

int main() {
  std::cout << "2" << std::endl;
  return 0;
}
