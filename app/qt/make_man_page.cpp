// make-man-page: writes the program's man page, made from its option table, to standard output.
#include <iostream>

#include "app/command_line.h"

int main() {
  std::cout << addrvue::cli::ManPage();
  return 0;
}
