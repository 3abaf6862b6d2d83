#pragma once

// Replays a test-driver script against the running program: when the first window opens and
// the environment variable QUELB_SCRIPT names a script file, its commands are carried out.
// Dumps and the driver's log go to the file named by QUELB_SCRIPT_OUTPUT (standard output when
// unset). A script that fails ends the program with exit code 2 after writing why.
namespace platform::ui {

class ScriptReplay
{
public:
    static void startFromEnvironment();
};

} // namespace platform::ui
