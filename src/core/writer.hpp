// The line writer of the report and the console. Every line of either goes through
// `line`, built from the edit descriptors of fortran_format.hpp in the order of its layout:
//   out.line(X(15), I(5, number), X(3), "UNIFORM", X(3), E(9, 3, magnitude));
// A writer may carry a mirror stream: blocks that also go to the console (the status
// blocks of a run) are written through a writer that mirrors the report to the console.
#pragma once

#include <ostream>

#include "core/fortran_format.hpp"
#include "core/report_notes.hpp"

namespace korvant {

class Writer {
 public:
  explicit Writer(std::ostream& out, std::ostream* mirror = nullptr)
      : out_(&out), mirror_(mirror) {}
  // The writer of a report: every line it writes (and every writer made from it writes) is
  // also noted in `notes`.
  Writer(std::ostream& out, ReportNotes& notes) : out_(&out), mirror_(nullptr), notes_(&notes) {}

  template <typename... Items>
  void line(const Items&... items) {
    put(fmt::line(items...));
  }
  // n empty lines
  void blank(int n = 1) {
    for (int k = 0; k < n; ++k) put(std::string());
  }
  // The same writer, also writing to `console` when `enabled`.
  Writer mirroredTo(std::ostream& console, bool enabled) const {
    Writer mirrored(*out_, enabled ? &console : nullptr);
    mirrored.notes_ = notes_;
    return mirrored;
  }
  // The notes of the report this writer writes, if it writes one: where the deck line of
  // the coming messages is set and the console-only notices are added.
  ReportNotes* notes() const { return notes_; }
  void flush() {
    out_->flush();
    if (mirror_) mirror_->flush();
  }

 private:
  void put(const std::string& text) {
    *out_ << text << '\n';
    if (mirror_) *mirror_ << text << '\n';
    if (notes_) notes_->note(text);
  }
  std::ostream* out_;
  std::ostream* mirror_;
  ReportNotes* notes_ = nullptr;
};

}  // namespace korvant
