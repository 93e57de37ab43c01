// Console and report blocks of the job start and the closing lines, written out line by
// line from their layout, and small helpers for the job tests.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

namespace korvant::test {

// The lines joined, each ended by a line feed.
inline std::string textOf(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& l : lines) text += l + "\n";
  return text;
}

inline std::string textOf(std::initializer_list<std::string> lines) {
  return textOf(std::vector<std::string>(lines));
}

inline const std::string kPrompt = textOf({"", "     Please enter file name"});

inline const std::string kMissingDeck =
    textOf({"", "", "Problem here: Inputted file name does not exist in directory"});

inline const std::string kOverwriteQuestion =
    textOf({"", "", "Output file already exists. Do you want to overwrite this file? (yes/no)"});

inline const std::string kTerminationBanner =
    textOf({"", "", "          @@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@",
            "          @@@                                  @@@",
            "          @@@   EXECUTION TERMINATING DUE TO   @@@",
            "          @@@   PROBLEM WITH INPUT FILE NAME   @@@",
            "          @@@                                  @@@",
            "          @@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@", ""});

inline const std::string kFatalLine = textOf(
    {"", "", "", "          @@@ PROGRAM TERMINATING DUE TO FATAL RUN-TIME ERRORS @@@", "", ""});

inline const std::string kCompletedBanner =
    textOf({"", "", "", "", "               ############################################",
            "               ###                                      ###",
            "               ###  A N A L Y S I S  C O M P L E T E D  ###",
            "               ###                                      ###",
            "               ############################################", "", "", ""});

inline const std::string kJobTerminated =
    textOf({"", "", "                    ### JOB TERMINATED ###", "", ""});

inline const std::string kAnalysisUnavailable =
    "***ERROR: THE ANALYSIS STAGES ARE NOT AVAILABLE IN THIS BUILD OF THE PROGRAM\n";

inline bool endsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace korvant::test
