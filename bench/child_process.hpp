// Runs a piece of work in a child process, so that its peak memory is its own: the parent
// reads back the work's result through a pipe and the child's peak resident set from wait4.
#pragma once

#include <cstring>
#include <functional>
#include <span>
#include <stdexcept>
#include <type_traits>

namespace korvant::bench {

struct ChildStats {
  double wallSeconds = 0.0;  // from the fork to the end of the child, as the parent saw it
  double peakBytes = 0.0;    // the child's peak resident set
};

// Forks, runs `work` in the child, which fills `result` (sent back to the parent byte for
// byte), and waits for the child. Throws when the child fails or sends back too little.
ChildStats runChild(const std::function<void(std::span<std::byte> result)>& work,
                    std::span<std::byte> result);

// The same for a result of a trivially copyable type.
template <class Result>
ChildStats runChild(const std::function<Result()>& work, Result& result) {
  static_assert(std::is_trivially_copyable_v<Result>);
  auto body = [&work](std::span<std::byte> out) {
    const Result value = work();
    std::memcpy(out.data(), &value, sizeof value);
  };
  return runChild(body, std::as_writable_bytes(std::span<Result>(&result, 1)));
}

}  // namespace korvant::bench
