#pragma once

#include "ui/ManualScheduler.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>

// A registry file of its own for each test, named by FDT_REGISTRY_FILE as the frame and the
// server library read it.
class ScopedRegistryFile {
public:
    ScopedRegistryFile() : m_path((m_dir.path() + "/registry.xml").toStdString()) {
        setenv("FDT_REGISTRY_FILE", m_path.c_str(), 1);
    }
    ~ScopedRegistryFile() { unsetenv("FDT_REGISTRY_FILE"); }
    ScopedRegistryFile(const ScopedRegistryFile&) = delete;
    ScopedRegistryFile& operator=(const ScopedRegistryFile&) = delete;

    const std::string& Path() const { return m_path; }
    std::string Folder() const { return m_dir.path().toStdString(); }

private:
    QTemporaryDir m_dir;
    std::string m_path;
};

// Moves the manual scheduler's time in steps of 10 ms and lets Qt deliver its own events in
// between, as the event loop would.
inline void Advance(CManualScheduler& scheduler, int ms) {
    for (int elapsed = 0; elapsed < ms; elapsed += 10) {
        scheduler.AdvanceBy(10);
        QCoreApplication::processEvents();
    }
}

// Runs Qt's event loop until `done` or until `limitMs` of real time passed; answers `done`.
// For the runs on the Qt scheduler, whose timers take real time.
inline bool RunUntil(const std::function<bool()>& done, int limitMs = 20000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < limitMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return done();
}

// The first widget below `root` of class T (a class without its own meta-object).
template <class T> T* FindWidget(QWidget* root) {
    if (root == nullptr) {
        return nullptr;
    }
    for (QWidget* child : root->findChildren<QWidget*>()) {
        if (auto* found = dynamic_cast<T*>(child)) {
            return found;
        }
    }
    return nullptr;
}
