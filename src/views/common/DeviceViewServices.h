#pragma once

#include <optional>
#include <string>
#include <vector>

class CDeviceAccess;
class IUIController;
class QWidget;

// The alarm beep of the device views. The product beeps through Qt; tests install a fake that
// counts.
class IBeeper {
public:
    virtual ~IBeeper() = default;
    virtual void Beep(int frequencyHz, int durationMs) = 0;
};

// The open and save dialogs of the device views. The product asks the user through Qt's file
// dialogs; tests install a fake that answers without a person. Nothing means cancelled.
class IFileDialogService {
public:
    virtual ~IFileDialogService() = default;
    virtual std::optional<std::string> GetOpenFileName(QWidget* parent, const std::string& title,
                                                       const std::string& filter) = 0;
    virtual std::optional<std::string> GetSaveFileName(QWidget* parent, const std::string& title,
                                                       const std::string& filter) = 0;
    // Several files to open at once; by default the one GetOpenFileName answers. Empty means
    // cancelled.
    virtual std::vector<std::string> GetOpenFileNames(QWidget* parent, const std::string& title,
                                                      const std::string& filter) {
        std::optional<std::string> one = GetOpenFileName(parent, title, filter);
        return one ? std::vector<std::string>{*one} : std::vector<std::string>{};
    }
};

// Opens a link (an e-mail, the maker's web pages) outside the views. The product hands it to
// the desktop; tests install a fake that keeps it.
class ILinkOpener {
public:
    virtual ~ILinkOpener() = default;
    virtual bool Open(const std::string& url) = 0;
};

// Prints a page of a view. The product asks with Qt's print dialog; tests install a fake.
class IPrintService {
public:
    virtual ~IPrintService() = default;
    // False when the user cancelled or printing failed.
    virtual bool Print(QWidget& page, const std::string& title) = 0;
};

// The process-wide beeper, file dialogs, link opener and print service: Qt's unless a test
// installed others (null restores Qt's). The caller keeps ownership.
IBeeper& Beeper();
void SetBeeper(IBeeper* beeper);
IFileDialogService& FileDialogs();
void SetFileDialogs(IFileDialogService* dialogs);
ILinkOpener& LinkOpener();
void SetLinkOpener(ILinkOpener* opener);
IPrintService& PrintService();
void SetPrintService(IPrintService* service);

// Settings the views keep from one session to the next, by name (the result comparison's
// drift thresholds). The control keeps them in the registry file; until it installs its
// store, and in tests, they live in memory. Set may throw when the store cannot be written.
class IViewSettings {
public:
    virtual ~IViewSettings() = default;
    virtual std::optional<std::string> Get(const std::string& name) const = 0;
    virtual void Set(const std::string& name, const std::string& value) = 0;
};
// The process-wide store: the installed one, else one in memory (null restores that).
IViewSettings& ViewSettings();
void SetViewSettings(IViewSettings* settings);

// The maker's web address that the alarm information view's repair and help buttons open;
// empty (the default) disables them. The control reads it from the registry at start.
const std::string& MakerWebAddress();
void SetMakerWebAddress(std::string address);

// The refusals shown when the frame application does not permit private dialogs: the event
// log's, the data logger's and trend view's Open (the texts are the system's own, as worded),
// and the test views' shared text is the device state record's `privateDialogsMessage`.
namespace private_dialogs {
inline constexpr const char* kEventLogRefusal = "Current frame application settings do not permit "
                                                "to execute this function (private dialogs).";
inline constexpr const char* kSettingRefusal = "Current frame application setting do not permit "
                                               "to execute this function (private dialogs).";
} // namespace private_dialogs

// True when the frame application permits private dialogs; otherwise shows `refusal` through
// the DTM and answers false, and the caller starts nothing.
bool PrivateDialogsPermitted(const IUIController& controller, const CDeviceAccess& device,
                             const std::string& refusal);

// A file a view saves to or opens, asked for after the private-dialogs check.
struct SFileQuestion {
    std::string title;
    std::string kind;      // the filter's name: "<kind> (*.<extension>)"
    std::string extension; // without the dot; added to a saved name without one
    std::string refusal;   // shown when private dialogs are not permitted
};

// The file the user chose, or nothing when private dialogs are refused (the refusal shown
// through the DTM) or the question was cancelled. A null controller refuses.
std::optional<std::string> AskFile(const IUIController* controller, const CDeviceAccess& device,
                                   QWidget* parent, const SFileQuestion& question, bool save);
// The files the user chose to open, after the same check; empty when refused or cancelled.
std::vector<std::string> AskFilesToOpen(const IUIController* controller,
                                        const CDeviceAccess& device, QWidget* parent,
                                        const SFileQuestion& question);

// Sets the device clock (0x0169 elements 1 to 6) from `now`, each element written before the
// next: the year counted from 1900 below the year 2000 and from 2000 otherwise, then month,
// day, hour, minute and second. Answers that base year.
int WriteDeviceClock(const CDeviceAccess& device, int year, int month, int day, int hour,
                     int minute, int second);
inline int ClockBaseYear(int hostYear) {
    return hostYear < 2000 ? 1900 : 2000;
}
