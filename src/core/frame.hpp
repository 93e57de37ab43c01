// The framed blocks of the report and the console: rows of "@" or "#" with side borders.
#pragma once

#include <string_view>

#include "core/writer.hpp"

namespace korvant {

// The empty line of a frame `width` wide at `indent`: `border` at both ends, blanks between.
inline void frameSide(Writer& out, int indent, int width, std::string_view border = "@@@") {
  out.line(fmt::X(indent), border, fmt::X(width - 2 * static_cast<int>(border.size())), border);
}

}  // namespace korvant
