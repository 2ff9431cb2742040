// The program: everything happens in runGame; there is no command line.
#include "app/app.h"

int main(int argc, char* argv[]) {
  (void)argc;
  (void)argv;
  return runGame();
}
