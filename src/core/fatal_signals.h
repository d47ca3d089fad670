// The crash signals (an invalid memory access, stack exhaustion, an illegal
// instruction, a bus or arithmetic fault, an abort) are fatal errors: the
// handler writes the error report to the error file, tells the user on
// standard error and ends the program. A stack overflow is told apart from
// other invalid accesses by the fault address lying at the stack's end.
#pragma once

#include <filesystem>

namespace traveno {

// Installs the handlers for the whole process (on an alternate stack, so
// stack exhaustion is caught too). `program_name` is written as the sender.
// Calling it again replaces the error file.
void InstallFatalSignalHandlers(const std::filesystem::path& error_file,
                                const char* program_name);

// The kind name a crash signal is reported under.
const char* FatalSignalKind(int signal_number, bool at_stack_end);

}  // namespace traveno
