#include "views/common/DeviceViewServices.h"

#include "ui/UIController.h"
#include "views/common/DeviceAccess.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>

#include <cstdint>
#include <iterator>

namespace {

class CQtBeeper final : public IBeeper {
public:
    // Qt has one system beep; its pitch and length are the platform's.
    void Beep(int, int) override { QApplication::beep(); }
};

class CQtFileDialogs final : public IFileDialogService {
public:
    std::optional<std::string> GetOpenFileName(QWidget* parent, const std::string& title,
                                               const std::string& filter) override {
        return Answer(QFileDialog::getOpenFileName(parent, QString::fromStdString(title), {},
                                                   QString::fromStdString(filter)));
    }
    std::optional<std::string> GetSaveFileName(QWidget* parent, const std::string& title,
                                               const std::string& filter) override {
        return Answer(QFileDialog::getSaveFileName(parent, QString::fromStdString(title), {},
                                                   QString::fromStdString(filter)));
    }

private:
    static std::optional<std::string> Answer(const QString& path) {
        return path.isEmpty() ? std::nullopt : std::optional(path.toStdString());
    }
};

IBeeper* g_beeper = nullptr;
IFileDialogService* g_fileDialogs = nullptr;

} // namespace

IBeeper& Beeper() {
    static CQtBeeper qtBeeper;
    return g_beeper ? *g_beeper : qtBeeper;
}

void SetBeeper(IBeeper* beeper) {
    g_beeper = beeper;
}

IFileDialogService& FileDialogs() {
    static CQtFileDialogs qtDialogs;
    return g_fileDialogs ? *g_fileDialogs : qtDialogs;
}

void SetFileDialogs(IFileDialogService* dialogs) {
    g_fileDialogs = dialogs;
}

bool PrivateDialogsPermitted(const IUIController& controller, const CDeviceAccess& device,
                             const std::string& refusal) {
    if (controller.ArePrivateDialogsEnabled()) {
        return true;
    }
    device.ShowMessage(refusal);
    return false;
}

std::optional<std::string> AskFile(const IUIController* controller, const CDeviceAccess& device,
                                   QWidget* parent, const SFileQuestion& question, bool save) {
    if (controller == nullptr || !PrivateDialogsPermitted(*controller, device, question.refusal)) {
        return std::nullopt;
    }
    const std::string filter = question.kind + " (*." + question.extension + ")";
    std::optional<std::string> chosen =
        save ? FileDialogs().GetSaveFileName(parent, question.title, filter)
             : FileDialogs().GetOpenFileName(parent, question.title, filter);
    if (!chosen || chosen->empty()) {
        return std::nullopt;
    }
    if (save && QFileInfo(QString::fromStdString(*chosen)).suffix().isEmpty()) {
        *chosen += "." + question.extension;
    }
    return chosen;
}

int WriteDeviceClock(const CDeviceAccess& device, int year, int month, int day, int hour,
                     int minute, int second) {
    constexpr std::uint32_t kClockYear = 0x01690001;
    const int base = ClockBaseYear(year);
    const int values[] = {year - base, month, day, hour, minute, second};
    for (std::uint32_t i = 0; i < std::size(values); ++i) {
        device.Write(kClockYear + i, std::to_string(values[i]));
    }
    return base;
}
