#include "core/text.hpp"

#include <gtest/gtest.h>

#include <string>

using namespace korvant;

namespace {

// A fixed field (padded) cuts a longer text at its width; a widened one (padRight) keeps it.
TEST(Text, FieldsPadOnTheRightAndOnlyAFixedFieldCuts) {
  struct Case {
    std::string text;
    std::size_t width;
    std::string fixed, widened;
  };
  const Case cases[] = {
      {"ABC", 5, "ABC  ", "ABC  "},
      {"ABCDE", 5, "ABCDE", "ABCDE"},
      {"ABCDEFG", 5, "ABCDE", "ABCDEFG"},
      {"", 3, "   ", "   "},
      {"AB", 0, "", "AB"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(padded(c.text, c.width), c.fixed);
    EXPECT_EQ(padRight(c.text, c.width), c.widened);
  }
}

}  // namespace
