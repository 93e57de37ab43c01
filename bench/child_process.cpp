#include "child_process.hpp"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <exception>
#include <iostream>
#include <string>

namespace korvant::bench {
namespace {

// The child's side: the work, its result written to the pipe, and an exit that skips the
// parent's copies of the output buffers.
[[noreturn]] void childSide(const std::function<void(std::span<std::byte>)>& work,
                            std::span<std::byte> result, int pipeOut) {
  int status = 0;
  try {
    work(result);
    std::size_t sent = 0;
    while (sent < result.size()) {
      const ssize_t n = ::write(pipeOut, result.data() + sent, result.size() - sent);
      if (n <= 0) break;
      sent += static_cast<std::size_t>(n);
    }
    if (sent != result.size()) status = 2;
  } catch (const std::exception& error) {
    std::cerr << "korvant_bench: " << error.what() << '\n';
    status = 1;
  }
  std::cout.flush();
  std::cerr.flush();
  ::_exit(status);
}

std::size_t readAll(int pipeIn, std::span<std::byte> into) {
  std::size_t got = 0;
  while (got < into.size()) {
    const ssize_t n = ::read(pipeIn, into.data() + got, into.size() - got);
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  return got;
}

}  // namespace

ChildStats runChild(const std::function<void(std::span<std::byte> result)>& work,
                    std::span<std::byte> result) {
  int fds[2];
  if (::pipe(fds) != 0) throw std::runtime_error("cannot make a pipe");
  std::cout.flush();
  std::cerr.flush();
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = ::fork();
  if (pid < 0) throw std::runtime_error("cannot fork");
  if (pid == 0) {
    ::close(fds[0]);
    childSide(work, result, fds[1]);
  }
  ::close(fds[1]);
  const std::size_t got = readAll(fds[0], result);
  ::close(fds[0]);
  int status = 0;
  struct rusage usage {};
  ::wait4(pid, &status, 0, &usage);
  const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || got != result.size())
    throw std::runtime_error("the measured child process failed (status " + std::to_string(status) +
                             ")");
  // ru_maxrss is in kibibytes on Linux.
  return ChildStats{wall.count(), static_cast<double>(usage.ru_maxrss) * 1024.0};
}

}  // namespace korvant::bench
