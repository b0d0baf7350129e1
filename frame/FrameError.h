#pragma once

#include <stdexcept>
#include <string>

// What fdt-frame answers its caller: 0 when everything went as asked, otherwise the first
// thing that went wrong.
enum class EFrameExit : int {
    Ok = 0,
    Usage = 2,              // an option the frame does not know, or a bad value
    NotRegistered = 3,      // the ProgID is not registered in the registry file
    LibraryNotLoaded = 4,   // the server library does not load or lacks an entry point
    ClassNotCreated = 5,    // the class factory did not create the control
    RegistrationFailed = 6, // DllRegisterServer or DllUnregisterServer failed
    AutomationFailed = 7,   // a view to show or a screenshot to save failed
    ReleaseRefused = 8,     // the control never agreed to be released; it was released anyway
};

// A failure that ends the frame with a message for the user and an exit code.
class CFrameError : public std::runtime_error {
public:
    CFrameError(EFrameExit exit, const std::string& message)
        : std::runtime_error(message), m_exit(exit) {}

    EFrameExit GetExit() const { return m_exit; }
    int GetExitCode() const { return static_cast<int>(m_exit); }

private:
    EFrameExit m_exit;
};
