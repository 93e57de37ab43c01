// The in-memory working file keeps only the values written, yet every record still reads
// back at its full length: the values written, then zeros.
#include "core/record_store.hpp"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace korvant {
namespace {

std::vector<double> readBack(const RecordStore& unit, int n) {
  std::vector<double> values;
  for (double v : unit.read(n)) values.push_back(v);
  return values;
}

std::vector<double> padded(std::vector<double> values, std::size_t length) {
  values.resize(length, 0.0);
  return values;
}

TEST(RecordStore, RecordsReadBackAtFullLengthWithZerosBeyondTheValuesWritten) {
  struct Case {
    const char* what;
    std::vector<double> written;
  };
  const std::vector<Case> cases = {
      {"a few values", {1.5, -2.0, 3.25}},
      {"zeros inside the values", {0.0, 4.0, 0.0, 0.0, 5.0}},
      {"trailing zeros", {6.0, 0.0, 0.0}},
      {"only zeros", {0.0, 0.0}},
      {"nothing", {}},
      {"the whole record", std::vector<double>(10, 7.0)},
  };
  for (const Case& c : cases) {
    RecordStore unit(10);
    unit.write(3, c.written);
    EXPECT_TRUE(unit.written(3)) << c.what;
    EXPECT_EQ(unit.read(3).size(), 10u) << c.what;
    EXPECT_EQ(readBack(unit, 3), padded(c.written, 10)) << c.what;
    EXPECT_EQ(unit.read(3)[9], padded(c.written, 10)[9]) << c.what;
  }
}

TEST(RecordStore, RecordsNeverWrittenReadAsZeros) {
  RecordStore unit(6);
  unit.write(4, std::vector<double>{1.0, 2.0});
  for (int n : {1, 2, 3, 5, 100}) {
    EXPECT_FALSE(unit.written(n)) << n;
    EXPECT_EQ(readBack(unit, n), std::vector<double>(6, 0.0)) << n;
  }
  EXPECT_FALSE(unit.written(0));
  EXPECT_FALSE(unit.written(-1));
}

TEST(RecordStore, ARewrittenRecordHoldsOnlyItsNewValues) {
  RecordStore unit(8);
  unit.write(1, std::vector<double>{1.0, 2.0, 3.0, 4.0, 5.0});
  unit.write(1, std::vector<double>{9.0, 8.0});
  EXPECT_EQ(readBack(unit, 1), padded({9.0, 8.0}, 8));
  unit.write(1, std::vector<double>{});
  EXPECT_EQ(readBack(unit, 1), std::vector<double>(8, 0.0));
  EXPECT_TRUE(unit.written(1));
}

// The point of the design: a short record costs its values, not the record length.
TEST(RecordStore, KeepsTheValuesUpToTheLastThatIsNotZero) {
  RecordStore unit(800);
  unit.write(2, std::vector<double>{2.0, 0.2, 0.0, 1.0, 0.0, 0.0});
  EXPECT_EQ(unit.stored(2).size(), 4u);
  unit.write(5, std::vector<double>(12, 0.0));
  EXPECT_TRUE(unit.stored(5).empty());
  EXPECT_TRUE(unit.stored(7).empty());
}

TEST(RecordStore, MisuseIsRefused) {
  RecordStore unit(4);
  EXPECT_THROW(unit.write(1, std::vector<double>(5, 1.0)), std::length_error);
  EXPECT_THROW(unit.write(0, std::vector<double>{1.0}), std::out_of_range);
  EXPECT_THROW(unit.read(0), std::out_of_range);
  EXPECT_FALSE(unit.written(1));
}

TEST(RecordStore, ClearForgetsEveryRecord) {
  RecordStore unit(4);
  unit.write(1, std::vector<double>{1.0});
  unit.write(9, std::vector<double>{2.0});
  unit.clear();
  for (int n : {1, 9}) {
    EXPECT_FALSE(unit.written(n));
    EXPECT_EQ(readBack(unit, n), std::vector<double>(4, 0.0));
  }
}

}  // namespace
}  // namespace korvant
