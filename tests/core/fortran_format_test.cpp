#include "core/fortran_format.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

using namespace korvant::fmt;

namespace {

// One edit descriptor of the golden table's header: kind letter, width, decimals.
struct Descriptor {
  char kind = 'I';
  int w = 0;
  int d = 0;
  std::string name;
};

Descriptor parseDescriptor(const std::string& name) {
  Descriptor desc;
  desc.name = name;
  desc.kind = name[0];
  std::sscanf(name.c_str() + 1, "%d.%d", &desc.w, &desc.d);
  return desc;
}

std::vector<Descriptor> parseHeader(const std::string& row) {
  std::istringstream words(row);
  std::string word;
  words >> word;  // @real or @int
  std::vector<Descriptor> descs;
  while (words >> word) descs.push_back(parseDescriptor(word));
  return descs;
}

// The fields of a row "key|field|field|...|": the key first.
std::vector<std::string> splitRow(const std::string& row) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t bar = row.find('|'); bar != std::string::npos; bar = row.find('|', start)) {
    parts.push_back(row.substr(start, bar - start));
    start = bar + 1;
  }
  return parts;
}

std::string render(const Descriptor& desc, double value) {
  return desc.kind == 'F' ? F(desc.w, desc.d, value).text : E(desc.w, desc.d, value).text;
}

std::string valueText(double value) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.17g", value);
  return buf;
}

struct GoldenResult {
  long rows = 0;
  long fields = 0;
  long mismatches = 0;
  std::vector<std::string> firstMismatches;
};

void compare(GoldenResult& result, const std::string& desc, const std::string& value,
             const std::string& expected, const std::string& actual) {
  ++result.fields;
  if (expected == actual) return;
  ++result.mismatches;
  if (result.firstMismatches.size() < 10) {
    result.firstMismatches.push_back(desc + " of " + value + ": gfortran [" + expected +
                                     "], formatter [" + actual + "]");
  }
}

// Checks every field of the golden table written by tools/format_golden.
GoldenResult checkGoldenTable(std::istream& in) {
  GoldenResult result;
  std::vector<Descriptor> descs;
  bool integers = false;
  for (std::string row; std::getline(in, row);) {
    if (row.empty() || row[0] == '#') continue;
    if (row[0] == '@') {
      integers = row.rfind("@int", 0) == 0;
      descs = parseHeader(row);
      continue;
    }
    const std::vector<std::string> parts = splitRow(row);
    EXPECT_EQ(parts.size(), descs.size() + 1) << "malformed row: " << row;
    if (parts.size() != descs.size() + 1) continue;
    ++result.rows;
    if (integers) {
      const long long v = std::stoll(parts[0]);
      for (std::size_t k = 0; k < descs.size(); ++k) {
        compare(result, descs[k].name, parts[0], parts[k + 1], I(descs[k].w, v).text);
      }
    } else {
      const double v = std::bit_cast<double>(std::stoull(parts[0], nullptr, 16));
      for (std::size_t k = 0; k < descs.size(); ++k) {
        compare(result, descs[k].name, valueText(v), parts[k + 1], render(descs[k], v));
      }
    }
  }
  return result;
}

TEST(FortranFormat, AgreesWithGfortranGoldenTable) {
  std::ifstream in(KORVANT_TEST_DATA "/core/data/fortran_format_golden.txt");
  ASSERT_TRUE(in) << "golden table missing";
  const GoldenResult result = checkGoldenTable(in);
  EXPECT_GT(result.rows, 15000);
  EXPECT_EQ(result.mismatches, 0) << "of " << result.fields << " fields";
  for (const std::string& m : result.firstMismatches) ADD_FAILURE() << m;
}

// The behaviours a reader of the report meets most, spelled out (all as gfortran writes them).
TEST(FortranFormat, NumbersAsGfortranWritesThem) {
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    Field field;
    const char* expected;
  } cases[] = {
      {E(9, 3, 12.3), "0.123E+02"},    // leading zero where the field has room
      {E(9, 3, -12.3), "-.123E+02"},   // and dropped where it has not
      {E(9, 3, 0.9995), "0.100E+01"},  // rounding carries into the exponent
      {F(7, 4, 9.99995), "10.0000"},   // and into a new integer digit
      {F(5, 3, 9.9996), "*****"},      // ... that no longer fits
      {F(7, 4, -0.0001), "-0.0001"},
      {F(7, 4, -0.00001), "-0.0000"},  // a negative value rounding to zero keeps its sign
      {E(9, 3, -0.0), "-.000E+00"},    // so does negative zero
      {F(7, 4, 0.0), " 0.0000"},
      {F(3, 0, 2.5), " 2."},  // exact halves round to even
      {F(3, 0, 3.5), " 4."},
      {E(9, 3, 1e100), "0.100+101"},  // three exponent digits replace the letter E
      {E(9, 3, 1e-100), "0.100E-99"},
      {F(12, 3, 1e300), "************"},
      {E(9, 3, inf), " Infinity"},
      {F(8, 3, -inf), "    -Inf"},  // "-Infinity" needs nine columns
      {F(3, 0, -inf), "***"},
      {E(9, 3, std::nan("")), "      NaN"},
      {I(5, -1234), "-1234"},
      {I(5, -12345), "*****"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.field.text, c.expected);
}

TEST(FortranFormat, TextFields) {
  EXPECT_EQ(A(8, "abc").text, "     abc");  // a shorter text is right-justified
  EXPECT_EQ(A(2, "abcdef").text, "ab");     // a longer one keeps its leftmost w characters
  EXPECT_EQ(A(4, "").text, "    ");
  EXPECT_EQ(A("free text").text, "free text");
}

TEST(FortranFormat, LinesEndAtTheirLastWrittenCharacter) {
  EXPECT_EQ(line(X(15), I(5, 12), X(3), "UNIFORM", X(3), E(9, 3, 12.3)),
            std::string(18, ' ') + "12   UNIFORM   0.123E+02");
  EXPECT_EQ(line("A", X(3)), "A");  // trailing blanks are not written
  EXPECT_EQ(line("A", X(2), X(3)), "A");
  EXPECT_EQ(line("A", X(3), A(2, "")), "A     ");  // blanks an Aw field writes are kept
  EXPECT_EQ(line("A", X(3), A("")), "A   ");       // an empty text still ends the skip
  EXPECT_EQ(line(X(4)), "");
  EXPECT_EQ(line(), "");
}

}  // namespace
