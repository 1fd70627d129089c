// t580-sim: a simulated T-580 logger on a pseudo-terminal.
#include <cstdio>

int main() {
  std::fprintf(stderr, "t580-sim: not available yet\n");
  return 1;
}
