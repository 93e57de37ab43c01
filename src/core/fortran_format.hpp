// Fortran-style edit descriptors for every line of the report and the console.
//
// Each descriptor renders one field: I(w, v) an integer right-justified in w columns,
// F(w, d, v) fixed point with d decimals, E(w, d, v) exponent form 0.ddddE+xx, A(w, s)
// text in w columns, X(n) n blanks. A value that does not fit its field fills it with
// asterisks, as a Fortran runtime does. Plain strings are written as they stand.
// The fields match what gfortran writes for the same descriptor, character for character:
// correctly rounded digits (exact halves to even), the optional zero before the decimal point
// dropped only when the field has no room for it, a minus sign kept on values that round to
// zero, three-digit exponents written without the letter E (0.100+101), and "Infinity", "Inf"
// or "NaN" for values that are not finite. tests/output/data holds the table that proves it.
#pragma once

#include <string>
#include <string_view>

namespace korvant::fmt {

// One rendered field of a line. `blanks` marks an nX item: blanks written only when
// something follows them on the line, so a line ends at its last character written.
struct Field {
  std::string text;
  bool blanks = false;
};

Field I(int w, long long value);
Field F(int w, int d, double value);
Field E(int w, int d, double value);
Field A(int w, std::string_view text);
Field X(int n);

// Whole text as one field (the A descriptor without a width).
inline Field A(std::string_view text) {
  return Field{std::string(text), false};
}

// Renders the fields of one line into a string, dropping trailing nX blanks.
class LineBuilder {
 public:
  void add(const Field& f);
  void add(std::string_view text) { add(Field{std::string(text), false}); }
  void add(const char* text) { add(std::string_view(text)); }
  void add(const std::string& text) { add(std::string_view(text)); }
  const std::string& str() const { return text_; }

 private:
  std::string text_;
  std::size_t pending_blanks_ = 0;
};

template <typename... Items>
std::string line(const Items&... items) {
  LineBuilder b;
  (b.add(items), ...);
  return b.str();
}

}  // namespace korvant::fmt
