// fdt-frame: the FDT frame application that hosts the online view control with the
// simulated DTM. See FrameUsage() for the options.

#include "FrameError.h"
#include "FrameOptions.h"
#include "FrameSession.h"
#include "ServerLoader.h"

#include "server/Registry.h"
#include "server/ServerRegistration.h"

#include <QApplication>

#include <cstdlib>
#include <iostream>
#include <memory>

namespace {

int RegisterServer(const SFrameOptions& options) {
    CServerLibrary library(options.libraryPath.empty() ? DefaultLibraryPath()
                                                       : options.libraryPath);
    const HRESULT hr = options.registerServer ? library.Register() : library.Unregister();
    const char* action = options.registerServer ? "registration" : "unregistration";
    if (FAILED(hr)) {
        throw CFrameError(EFrameExit::RegistrationFailed, std::string("the ") + action + " of " +
                                                              library.GetPath() +
                                                              " failed: " + HResultText(hr));
    }
    std::cerr << "fdt-frame: " << action << " of " << library.GetPath() << " written to "
              << Registry::DefaultPath() << '\n';
    return 0;
}

// Without a display the frame runs on Qt's offscreen platform, unless told otherwise.
void ChooseHeadlessWithoutDisplay() {
    const auto empty = [](const char* name) {
        const char* value = std::getenv(name);
        return value == nullptr || *value == '\0';
    };
    if (empty("QT_QPA_PLATFORM") && empty("DISPLAY") && empty("WAYLAND_DISPLAY")) {
        std::cerr << "fdt-frame: no display; running headless\n";
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
}

bool IsHeadless() {
    const QString platform = QGuiApplication::platformName();
    return platform == "offscreen" || platform == "minimal";
}

int RunFrame(const SFrameOptions& options, char* program) {
    // The server is found and loaded before anything else, so that a missing registration
    // or a broken library is reported as such on any machine.
    const ResolvedServer server =
        ResolveServer(Registry::DefaultPath(), kOnlineViewVersionIndependentProgId);
    auto library = std::make_unique<CServerLibrary>(server.m_modulePath);

    ChooseHeadlessWithoutDisplay();
    // Every argument is the frame's own: Qt takes its settings from the environment.
    int qtArgc = 1;
    char* qtArgv[] = {program, nullptr};
    QApplication application(qtArgc, qtArgv);

    EFrameExit exit = EFrameExit::Ok;
    {
        CFrameSession session(options, library->CreateInstance(server.m_clsid, IUnknown::Iid),
                              IsHeadless());
        session.GetAutomation().SetOnScreenshot(
            [](const std::string& path) { std::cout << path << std::endl; });
        if (!session.Start()) {
            std::cerr << "fdt-frame: the control refused Init; it shows what it can\n";
        }
        QApplication::exec();
        exit = session.GetExit();
    }
    // Widgets the control let go of with deleteLater are its code's to delete, before that
    // code may go.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (!library->Unload()) {
        std::cerr << "fdt-frame: the server still has objects; its library stays loaded\n";
    }
    return static_cast<int>(exit);
}

} // namespace

int main(int argc, char** argv) {
    try {
        const SFrameOptions options =
            ParseFrameOptions(std::vector<std::string>(argv + 1, argv + argc));
        if (options.help) {
            std::cout << FrameUsage();
            return 0;
        }
        if (options.registerServer || options.unregisterServer) {
            return RegisterServer(options);
        }
        return RunFrame(options, argv[0]);
    } catch (const CFrameError& error) {
        std::cerr << "fdt-frame: " << error.what() << '\n';
        return error.GetExitCode();
    } catch (const std::exception& error) {
        std::cerr << "fdt-frame: " << error.what() << '\n';
        return 1;
    }
}
