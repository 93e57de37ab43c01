#include "core/fortran_format.hpp"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace korvant::fmt {
namespace {

std::string stars(int w) {
  return std::string(static_cast<std::size_t>(w > 0 ? w : 0), '*');
}

// Right-justifies s in w columns, or asterisks when it does not fit.
std::string rightJustify(const std::string& s, int w) {
  if (static_cast<int>(s.size()) > w) return stars(w);
  return std::string(static_cast<std::size_t>(w) - s.size(), ' ') + s;
}

// printf into a string of whatever length the conversion needs.
template <typename... Args>
std::string print(const char* format, Args... args) {
  const int n = std::snprintf(nullptr, 0, format, args...);
  std::string s(static_cast<std::size_t>(n) + 1, '\0');
  std::snprintf(s.data(), s.size(), format, args...);
  s.resize(static_cast<std::size_t>(n));
  return s;
}

// Infinity and NaN in w columns: "Infinity" where it fits, else "Inf"; a minus sign for
// negative infinity only, asterisks when not even the short form fits.
std::string nonFinite(double value, int w) {
  if (std::isnan(value)) return rightJustify("NaN", w);
  const bool neg = value < 0;
  const int longForm = neg ? 9 : 8;
  return rightJustify(std::string(neg ? "-" : "") + (w >= longForm ? "Infinity" : "Inf"), w);
}

// Drops the optional zero of "[-]0.ddd" when the text is too wide for w columns.
std::string withoutOptionalZero(std::string s, int w) {
  const std::size_t z = s[0] == '-' ? 1 : 0;
  if (static_cast<int>(s.size()) > w && s.compare(z, 2, "0.") == 0) s.erase(z, 1);
  return s;
}

}  // namespace

Field I(int w, long long value) {
  return {rightJustify(std::to_string(value), w)};
}

// Fixed point: the correctly rounded value (exact halves to even), with a decimal point even
// when d is 0. The zero before the point is optional when decimals follow it. A negative
// value keeps its sign when it rounds to zero, and so does negative zero (-0.0000).
Field F(int w, int d, double value) {
  if (!std::isfinite(value)) return {nonFinite(value, w)};
  std::string s = print("%#.*f", d, value);
  if (d > 0) s = withoutOptionalZero(s, w);
  return {rightJustify(s, w)};
}

// Exponent form [-]0.ddddE+xx: the d significant digits correctly rounded, the exponent one
// more than that of the scientific form. An exponent of three digits takes the letter's
// place (0.1234+100). The zero before the point is dropped when the field has no room for it.
Field E(int w, int d, double value) {
  if (!std::isfinite(value)) return {nonFinite(value, w)};
  if (d < 1) return {stars(w)};  // E with no digits is not a valid edit descriptor
  // "%.*e" writes "m.mmme+XX": its digits, and an exponent of 0 for zero.
  const std::string sci = print("%#.*e", d - 1, std::fabs(value));
  const std::size_t epos = sci.find('e');
  const std::string digits = sci.substr(0, 1) + sci.substr(2, epos - 2);
  const int exponent = value == 0.0 ? 0 : std::atoi(sci.c_str() + epos + 1) + 1;
  const char* expFormat = std::abs(exponent) <= 99 ? "E%c%02d" : "%c%03d";
  const std::string expText = print(expFormat, exponent < 0 ? '-' : '+', std::abs(exponent));
  const std::string s = (std::signbit(value) ? "-0." : "0.") + digits + expText;
  return {rightJustify(withoutOptionalZero(s, w), w)};
}

// Text in w columns: a longer text keeps its first w characters, a shorter one is
// right-justified with leading blanks.
Field A(int w, std::string_view text) {
  const std::size_t width = static_cast<std::size_t>(w > 0 ? w : 0);
  if (text.size() >= width) return {std::string(text.substr(0, width))};
  return {std::string(width - text.size(), ' ') + std::string(text)};
}

Field X(int n) {
  return {std::string(static_cast<std::size_t>(n > 0 ? n : 0), ' '), true};
}

// nX only moves the position: its blanks are written when any later field is written,
// even an empty text, so a line ends where its last field ends.
void LineBuilder::add(const Field& f) {
  if (f.blanks) {
    pending_blanks_ += f.text.size();
    return;
  }
  text_.append(pending_blanks_, ' ');
  pending_blanks_ = 0;
  text_ += f.text;
}

}  // namespace korvant::fmt
