#pragma once

#include <functional>
#include <optional>
#include <string>

// Runs `call` and catches everything it throws, so that no exception escapes into Qt's
// event loop or back to a COM caller. The error is reported through the handler installed
// with SetGuardReporter (by default a Qt warning naming `where`). Answers true when the call
// completed.
bool Guarded(const char* where, const std::function<void()>& call) noexcept;

// Runs `call` and catches everything it throws; answers the error's text, or nothing when the
// call completed. For callers that show the error themselves (a view's status line).
std::optional<std::string> CaughtError(const std::function<void()>& call) noexcept;

// Reports `error` as Guarded reports a caught exception, for a failure that raises nothing
// (a part of a file that was skipped).
void ReportGuardError(const char* where, const std::string& error) noexcept;

using GuardReporter = std::function<void(const std::string& where, const std::string& error)>;
// Replaces the reporter; an empty function restores the default. Answers the previous one.
GuardReporter SetGuardReporter(GuardReporter reporter);
