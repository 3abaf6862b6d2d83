#pragma once

#include <vector>

// The runtime's start and end around a program run. At the start it sets the process up as the
// program's data files need it and runs every module's start-up routine with 0; at the end it
// runs them again with a non-zero value, newest first, so a module frees what it filled.
//
// Writes that hit a file-size limit or a closed pipe must fail with an error the caller can
// report (EFBIG is "no room", EPIPE a failed write), not end the process with a signal that
// leaves half-written files behind; so SIGXFSZ and SIGPIPE are ignored for the whole run.
//
// Numbers are the program's own: "." as the point whatever locale the environment names. Qt
// hands the environment's locale to the C library when the application object is made, so the
// runtime, made after it, sets the numeric rules back to "C" (the rest of the locale, the
// character set of file names and input among it, stays the environment's).
namespace platform::system {

using ModuleRoutine = void (*)(int exiting);

class ProgramRuntime {
public:
    explicit ProgramRuntime(std::vector<ModuleRoutine> modules);
    ~ProgramRuntime();

    ProgramRuntime(const ProgramRuntime&) = delete;
    ProgramRuntime& operator=(const ProgramRuntime&) = delete;

private:
    std::vector<ModuleRoutine> m_modules;
};

// The signal dispositions the runtime sets; also for child processes and tools that write the
// program's files without running a whole program.
void ignoreWriteSignals();

// Sets the C library's numeric rules to the program's ("C"); the runtime's start calls it.
void useProgramNumberRules();

} // namespace platform::system
