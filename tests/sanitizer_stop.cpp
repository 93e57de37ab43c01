// Makes the sanitizer named by its argument stop the program: "address" reads past the end
// of a heap block, "undefined" overflows a signed whole number. The sanitizer build's tests
// run it to see that such a stop ends with the status the test environment gives it.
#include <climits>
#include <memory>
#include <string>

int main(int argc, char** argv) {
  const std::string kind = argc > 1 ? argv[1] : "";
  if (kind == "address") {
    const auto block = std::make_unique<int[]>(4);
    volatile int past = 4;
    return block[past];
  }
  if (kind == "undefined") {
    volatile int largest = INT_MAX;
    return largest + argc;
  }
  return 0;
}
