// zorvik-sheet: renders the plan sheet of a saved plan without the form.
#include <cstdio>

int main() {
  std::fputs("zorvik-sheet: not available yet\n", stderr);
  return 1;
}
