// The report blocks of the nonlinear stages, typed from their layouts, for tests that
// compare them line by line. Number fields are passed as they are printed (I5, E9.3, F7.5),
// so a test states the exact text it expects.
#pragma once

#include <string>
#include <vector>

namespace korvant::test {

using Lines = std::vector<std::string>;

// Appends `block` to `to`.
void append(Lines& to, const Lines& block);

// The seventh line of the collapse block: reached by the cracking iterations, or by an
// increment of the yielding stage.
extern const char* const kCrackingReached;
extern const char* const kYieldingReached;

// The collapse block with the largest deflection and the allowable one.
Lines collapseBlock(const std::string& reachedLine, const std::string& largest,
                    const std::string& allowable);

// "CONVERGENCE ACHIEVED AT ITERATION" with the iteration or pass as I6.
Lines convergenceBlock(const std::string& number6);

// The cracking stage's failure to converge within `limit4` iterations.
Lines crackingFailureBlock(const std::string& limit4, const std::string& ratio);

// The iteration report of the cracking stage; `values` is the line between "@@@  " and
// "   @@@" (iteration, 11 blanks, failures, 7 blanks).
Lines crackingIteration(const std::string& values);

// The iteration reports of the combined and the yielding-only increments.
Lines combinedIteration(const std::string& pass5, const std::string& increment4,
                        const std::string& load, const std::string& yinc6,
                        const std::string& cinc6);
Lines yieldingIteration(const std::string& pass5, const std::string& increment4,
                        const std::string& load, const std::string& yinc6);

// The convergence control of the incremental stage: a pass re-attempted, the combined
// procedure out of passes, and the failure block printed once after it.
Lines reattemptBlock(const std::string& pass5, const std::string& load, const std::string& ratio,
                     const std::string& tolerance);
Lines nonConvergenceBlock(const std::string& limit5);
Lines failedIncrementationBlock();

}  // namespace korvant::test
