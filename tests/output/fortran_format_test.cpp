#include "output/fortran_format.hpp"

#include <gtest/gtest.h>

using namespace korvant::fmt;

TEST(FortranFormat, SmokeExamples) {
  EXPECT_EQ(line(X(15), I(5, 12), X(3), "UNIFORM", X(3), E(9, 3, 12.3)), std::string(18, ' ') + "12   UNIFORM   0.123E+02");
  EXPECT_EQ(E(9, 3, -12.3).text, "-.123E+02");
  EXPECT_EQ(line("A", X(3)), "A");
}
