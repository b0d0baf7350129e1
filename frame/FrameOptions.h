#pragma once

#include <optional>
#include <string>
#include <vector>

// The command line of fdt-frame.
struct SFrameOptions {
    // --register / --unregister: (un)register the server library and exit.
    bool registerServer = false;
    bool unregisterServer = false;
    // --library PATH: the server library to (un)register; empty: the one beside the program.
    std::string libraryPath;
    // --view ID: the navigation entry to select once the navigation is built.
    std::optional<int> viewId;
    // --screenshot FILE: a picture of the window once start-up has settled.
    std::string screenshotFile;
    // --screenshot-all DIR: a picture of the start view and of every navigation entry's view.
    std::string screenshotDirectory;
    // --script FILE: steps to run once start-up has settled (FrameScript.h).
    std::string scriptFile;
    // --quit-after MS: close the window (through the control's release) after MS.
    std::optional<int> quitAfterMs;
    // --latency MS: the simulated bus delay of the DTM's reads.
    std::optional<int> latencyMs;
    // --user-level TEXT: the user level of the DTM's state document.
    std::optional<std::string> userLevel;
    // --no-private-dialogs: the DTM does not permit private dialogs.
    bool privateDialogs = true;
    // --help
    bool help = false;
};

// Reads the arguments after the program name. Throws CFrameError (EFrameExit::Usage) naming
// the argument that is unknown, lacks its value or has a value that is not allowed.
SFrameOptions ParseFrameOptions(const std::vector<std::string>& arguments);

// The text --help prints.
std::string FrameUsage();
