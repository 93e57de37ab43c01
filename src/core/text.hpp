// Small helpers on the text of deck lines and names: one place for the case of a character
// (whatever the sign of char), for blanks trimmed off a text and for a text padded to a width.
#pragma once

#include <algorithm>
#include <cctype>
#include <string>

namespace korvant {

inline char upper(char c) {
  return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}
inline char lower(char c) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// `text` without its leading and trailing blanks.
inline std::string trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// `text` without its trailing blanks.
inline std::string trimRight(std::string text) {
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

// `text` in a field of exactly `width` characters: cut at the width, blank-padded on the right.
inline std::string padded(const std::string& text, std::size_t width) {
  std::string field = text.substr(0, width);
  field.resize(width, ' ');
  return field;
}

// `text` blank-padded on the right to at least `width` characters; a longer text stays whole.
inline std::string padRight(std::string text, std::size_t width) {
  text.resize(std::max(width, text.size()), ' ');
  return text;
}

}  // namespace korvant
