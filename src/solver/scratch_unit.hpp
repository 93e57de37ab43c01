// The sequential scratch unit of the band solver (unit 40): records of doubles written one
// after another and read back in the same order after a rewind. The records live in memory;
// the space grows to the largest band met and is reused on every later solution.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace korvant {

class ScratchUnit {
 public:
  // Back to the first record, for writing a new set of records or reading the last one.
  void rewind() { position_ = 0; }

  // Writes the next record: n zeros, returned to be filled in. Writing ends the unit there;
  // records written before beyond this one are gone.
  std::span<double> nextRecord(std::size_t n);

  // Reads the next record of n values into into[0], into[stride], ...; values beyond the end
  // of the unit read as zeros.
  void readRecord(double* into, std::size_t n, std::ptrdiff_t stride = 1);
  // Reads the next `count` records of n values each, record r into into[r], into[r + stride],
  // ...: as many readRecord calls, one after the other into the rows of a column-major array
  // of leading dimension `stride`, but filled column by column.
  void readRecords(double* into, std::size_t n, std::ptrdiff_t stride, std::size_t count);

 private:
  std::vector<double> data_;
  std::size_t end_ = 0;       // end of the last record written
  std::size_t position_ = 0;  // start of the next record
};

}  // namespace korvant
