// Wall-clock time spent in each phase of the solution passes of a run, summed over the
// passes. Nothing prints them; they are there for the benchmark and for profiling a job.
#pragma once

#include <chrono>

namespace korvant {

struct PhaseTimes {
  using Seconds = std::chrono::duration<double>;

  Seconds assembly{};     // the assembly of the equations with their pressure
  Seconds boundary{};     // constraint rows, reduction and the bandwidth measurement
  Seconds solve{};        // factorization and solution, with the system statistics
  Seconds expand{};       // expansion to every real point and the finiteness check
  Seconds recovery{};     // layer and fibre strains and stresses onto the working files
  Seconds degradation{};  // layer failure tests and the reduced moduli of the nonlinear stages
  Seconds printing{};     // the result tables of the stages
  int passes = 0;         // solution passes begun
};

// Adds the wall-clock time from its construction to its destruction to one phase.
class PhaseTimer {
 public:
  explicit PhaseTimer(PhaseTimes::Seconds& phase)
      : phase_(phase), start_(std::chrono::steady_clock::now()) {}
  ~PhaseTimer() { phase_ += std::chrono::steady_clock::now() - start_; }
  PhaseTimer(const PhaseTimer&) = delete;
  PhaseTimer& operator=(const PhaseTimer&) = delete;

 private:
  PhaseTimes::Seconds& phase_;
  std::chrono::steady_clock::time_point start_;
};

}  // namespace korvant
