#include "output/fortran_format.hpp"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <algorithm>

namespace korvant::fmt {
namespace {

std::string stars(int w) { return std::string(static_cast<std::size_t>(w > 0 ? w : 0), '*'); }

std::string rightJustify(const std::string& s, int w) {
  if (static_cast<int>(s.size()) > w) return stars(w);
  return std::string(static_cast<std::size_t>(w) - s.size(), ' ') + s;
}

}  // namespace

Field I(int w, long long value) { return {rightJustify(std::to_string(value), w)}; }

// Fixed point: the digits of the correctly rounded value; the zero before the decimal
// point is optional and dropped when the field has no room for it.
Field F(int w, int d, double value) {
  if (!std::isfinite(value)) return {rightJustify(std::isnan(value) ? "NaN" : (value < 0 ? "-Infinity" : "Infinity"), w)};
  std::string s(512, '\0');
  int n = std::snprintf(s.data(), s.size(), "%.*f", d, value);
  s.resize(static_cast<std::size_t>(n));
  if (static_cast<int>(s.size()) > w) {
    const bool neg = s[0] == '-';
    const std::size_t z = neg ? 1 : 0;
    if (s.size() > z + 1 && s[z] == '0' && s[z + 1] == '.') s.erase(z, 1);
  }
  return {rightJustify(s, w)};
}

// Exponent form with a mantissa below 1: [-][0].ddddE+xx. An exponent of three digits
// drops the letter E (0.1234+100), as Fortran does.
Field E(int w, int d, double value) {
  if (!std::isfinite(value)) return {rightJustify(std::isnan(value) ? "NaN" : (value < 0 ? "-Infinity" : "Infinity"), w)};
  std::string digits(static_cast<std::size_t>(d), '0');
  int exponent = 0;
  const bool neg = std::signbit(value);
  if (value != 0.0 && d > 0) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", d - 1, std::fabs(value));
    // buf is "m.mmme+XX" (or "me+XX" when d is 1)
    std::string b(buf);
    const std::size_t epos = b.find('e');
    std::string mant = b.substr(0, epos);
    mant.erase(std::remove(mant.begin(), mant.end(), '.'), mant.end());
    digits = mant;
    exponent = std::atoi(b.c_str() + epos + 1) + 1;
  }
  std::string exp;
  const int ae = std::abs(exponent);
  char ebuf[16];
  if (ae <= 99) {
    std::snprintf(ebuf, sizeof ebuf, "E%c%02d", exponent < 0 ? '-' : '+', ae);
  } else {
    std::snprintf(ebuf, sizeof ebuf, "%c%03d", exponent < 0 ? '-' : '+', ae);
  }
  exp = ebuf;
  std::string body = "." + digits + exp;
  std::string sign = neg ? "-" : "";
  std::string withZero = sign + "0" + body;
  if (static_cast<int>(withZero.size()) <= w) return {rightJustify(withZero, w)};
  return {rightJustify(sign + body, w)};
}

// Text in w columns: a longer text keeps its first w characters, a shorter one is
// right-justified with leading blanks.
Field A(int w, std::string_view text) {
  if (static_cast<int>(text.size()) >= w) return {std::string(text.substr(0, static_cast<std::size_t>(w)))};
  return {std::string(static_cast<std::size_t>(w) - text.size(), ' ') + std::string(text)};
}

Field X(int n) { return {std::string(static_cast<std::size_t>(n > 0 ? n : 0), ' '), true}; }

void LineBuilder::add(const Field& f) {
  if (f.blanks) {
    pending_blanks_ += f.text.size();
    return;
  }
  if (f.text.empty()) return;
  text_.append(pending_blanks_, ' ');
  pending_blanks_ = 0;
  text_ += f.text;
}

}  // namespace korvant::fmt
