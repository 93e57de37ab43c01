// Exit statuses of the korvant executable. Scripts that run jobs in batches tell from them
// how far a job got; the README lists them for users.
#pragma once

namespace korvant::exit_status {

inline constexpr int kCompleted = 0;        // analysis completed (also with a predicted collapse)
inline constexpr int kUsage = 1;            // the command line could not be understood
inline constexpr int kDialogue = 2;         // the job did not start: missing deck, refused
                                            // overwrite, or a job file that cannot be opened
inline constexpr int kInputErrors = 3;      // fatal input errors, or the deck ended early,
                                            // holds an unreadable number or cannot be read
inline constexpr int kFatalRunTime = 4;     // the analysis was stopped by a fatal run-time error
inline constexpr int kFilesNotWritten = 5;  // the report, the zone layout plot, a dataset or
                                            // a file the command line asked for (JOB.json,
                                            // the VTK files) could not be written completely

}  // namespace korvant::exit_status
