#include <iostream>

int main() {
  std::cout << "korvant " << KORVANT_VERSION << "\n";
  return 0;
}
