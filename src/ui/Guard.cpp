#include "ui/Guard.h"

#include <QtGlobal>

#include <exception>

namespace {
GuardReporter& Reporter() {
    static GuardReporter reporter;
    return reporter;
}

void Report(const char* where, const std::string& error) noexcept {
    try {
        if (Reporter()) {
            Reporter()(where, error);
        } else {
            qWarning("%s: %s", where, error.c_str());
        }
    } catch (...) {
        // A failing reporter has nowhere left to report to.
    }
}
} // namespace

std::optional<std::string> CaughtError(const std::function<void()>& call) noexcept {
    try {
        call();
        return std::nullopt;
    } catch (const std::exception& e) {
        return std::string(e.what());
    } catch (...) {
        return std::string("unknown exception");
    }
}

bool Guarded(const char* where, const std::function<void()>& call) noexcept {
    const std::optional<std::string> error = CaughtError(call);
    if (error) {
        Report(where, *error);
    }
    return !error;
}

void ReportGuardError(const char* where, const std::string& error) noexcept {
    Report(where, error);
}

GuardReporter SetGuardReporter(GuardReporter reporter) {
    return std::exchange(Reporter(), std::move(reporter));
}
