#include "FrameOptions.h"

#include "FrameError.h"

#include <charconv>
#include <functional>
#include <map>
#include <string_view>

namespace {

// A number of milliseconds or a view id: decimal digits only, at least `minimum`.
int ParseNumber(const std::string& option, const std::string& text, int minimum) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || value < minimum) {
        throw CFrameError(EFrameExit::Usage, option + " needs a whole number of at least " +
                                                 std::to_string(minimum) + ", not \"" + text +
                                                 "\"");
    }
    return value;
}

std::string NonEmpty(const std::string& option, const std::string& text) {
    if (text.empty()) {
        throw CFrameError(EFrameExit::Usage, option + " needs a value");
    }
    return text;
}

using ValueOption =
    std::function<void(SFrameOptions&, const std::string& option, const std::string& value)>;

const std::map<std::string, ValueOption, std::less<>>& ValueOptions() {
    static const std::map<std::string, ValueOption, std::less<>> options{
        {"--library", [](SFrameOptions& o, const std::string& n,
                         const std::string& v) { o.libraryPath = NonEmpty(n, v); }},
        {"--view", [](SFrameOptions& o, const std::string& n,
                      const std::string& v) { o.viewId = ParseNumber(n, v, 0); }},
        {"--screenshot", [](SFrameOptions& o, const std::string& n,
                            const std::string& v) { o.screenshotFile = NonEmpty(n, v); }},
        {"--screenshot-all", [](SFrameOptions& o, const std::string& n,
                                const std::string& v) { o.screenshotDirectory = NonEmpty(n, v); }},
        {"--script", [](SFrameOptions& o, const std::string& n,
                        const std::string& v) { o.scriptFile = NonEmpty(n, v); }},
        {"--quit-after", [](SFrameOptions& o, const std::string& n,
                            const std::string& v) { o.quitAfterMs = ParseNumber(n, v, 0); }},
        {"--latency", [](SFrameOptions& o, const std::string& n,
                         const std::string& v) { o.latencyMs = ParseNumber(n, v, 0); }},
        {"--user-level", [](SFrameOptions& o, const std::string& n,
                            const std::string& v) { o.userLevel = NonEmpty(n, v); }},
    };
    return options;
}

} // namespace

SFrameOptions ParseFrameOptions(const std::vector<std::string>& arguments) {
    SFrameOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        std::optional<std::string> value;
        // "--option=value" is the same as "--option value".
        if (const auto equals = name.find('='); name.starts_with("--") && equals != name.npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        if (const auto found = ValueOptions().find(name); found != ValueOptions().end()) {
            if (!value) {
                if (i + 1 >= arguments.size()) {
                    throw CFrameError(EFrameExit::Usage, name + " needs a value");
                }
                value = arguments[++i];
            }
            found->second(options, name, *value);
            continue;
        }
        if (value) {
            throw CFrameError(EFrameExit::Usage, name + " takes no value");
        }
        if (name == "--register") {
            options.registerServer = true;
        } else if (name == "--unregister") {
            options.unregisterServer = true;
        } else if (name == "--no-private-dialogs") {
            options.privateDialogs = false;
        } else if (name == "--help" || name == "-h") {
            options.help = true;
        } else {
            throw CFrameError(EFrameExit::Usage,
                              "unknown argument \"" + name + "\" (--help lists the options)");
        }
    }
    if (options.registerServer && options.unregisterServer) {
        throw CFrameError(EFrameExit::Usage, "--register and --unregister exclude each other");
    }
    return options;
}

std::string FrameUsage() {
    return R"(Usage: fdt-frame [options]
Hosts the online view control "VelaFFDiagnosisUI.OnlineView" with the simulated DTM.

  --register              register the server library in the registry file and exit
  --unregister            remove the server's registration and exit
  --library PATH          the server library to (un)register (default: libVelaFFDiagnosisUI.so
                          beside the program in ../lib, else in the build's lib folder)
  --view ID               show view ID once the navigation is built (its navigation entry,
                          else the control's view request)
  --screenshot FILE       save a picture of the window once start-up has settled
  --screenshot-all DIR    save a picture of the start view and of every navigation entry's view
  --script FILE           run the steps in FILE once start-up has settled, after --view and
                          before the screenshots; one step a line, '#' starts a comment:
                            view ID                 show the view (navigation entry, else the
                                                    control's view request)
                            press "Label"           click the push button
                            type "Field" "text"     type into the field with that label,
                                                    placeholder or accessible name
                            choose "Combo" "Entry"  select the entry of the combo box
                            wait idle               until the DTM and the busy indicators rest
                            wait MS                 MS milliseconds
                            screenshot FILE         save a picture of the window
                          a step that cannot be done ends the script with exit code 7
  --quit-after MS         close the window after MS milliseconds
  --latency MS            bus delay of the simulated DTM's reads (default 30)
  --user-level TEXT       user level in the DTM's state document (default "maintenance")
  --no-private-dialogs    the DTM does not permit private dialogs
  --help                  this text

The registry file is $FDT_REGISTRY_FILE, else ~/.config/vela-fdt/registry.xml.
The simulated DTM reads its data files from $VELA_DTM_DATA when it is set.
Without a display (QT_QPA_PLATFORM=offscreen) the DTM's dialogs go to the log pane only and
the frame quits once the screenshots are saved and the script has run.
Exit codes: 0 done, 2 bad arguments, 3 not registered, 4 library does not load,
5 control not created, 6 (un)registration failed, 7 view, screenshot or script failed,
8 the control did not agree to be released.
)";
}
