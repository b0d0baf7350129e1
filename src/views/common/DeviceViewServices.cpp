#include "views/common/DeviceViewServices.h"

#include "ui/UIController.h"
#include "views/common/DeviceAccess.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QUrl>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <map>
#include <utility>

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
    std::vector<std::string> GetOpenFileNames(QWidget* parent, const std::string& title,
                                              const std::string& filter) override {
        std::vector<std::string> paths;
        for (const QString& path : QFileDialog::getOpenFileNames(
                 parent, QString::fromStdString(title), {}, QString::fromStdString(filter))) {
            paths.push_back(path.toStdString());
        }
        return paths;
    }

private:
    static std::optional<std::string> Answer(const QString& path) {
        return path.isEmpty() ? std::nullopt : std::optional(path.toStdString());
    }
};

class CDesktopLinks final : public ILinkOpener {
public:
    bool Open(const std::string& url) override {
        return QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
    }
};

class CQtPrinting final : public IPrintService {
public:
    bool Print(QWidget& page, const std::string& title) override {
        QPrinter printer(QPrinter::HighResolution);
        printer.setDocName(QString::fromStdString(title));
        QPrintDialog dialog(&printer, &page);
        dialog.setWindowTitle(QString::fromStdString(title));
        if (dialog.exec() != QDialog::Accepted) {
            return false;
        }
        // The page as it looks, scaled to the paper's width.
        QPainter painter;
        if (!painter.begin(&printer)) {
            return false;
        }
        const QRectF paper = printer.pageLayout().paintRectPixels(printer.resolution());
        const double scale = std::min(paper.width() / page.width(), paper.height() / page.height());
        painter.scale(scale, scale);
        page.render(&painter);
        return painter.end();
    }
};

class CMemorySettings final : public IViewSettings {
public:
    std::optional<std::string> Get(const std::string& name) const override {
        const auto it = m_values.find(name);
        return it != m_values.end() ? std::optional(it->second) : std::nullopt;
    }
    void Set(const std::string& name, const std::string& value) override { m_values[name] = value; }

private:
    std::map<std::string, std::string> m_values;
};

IBeeper* g_beeper = nullptr;
IViewSettings* g_settings = nullptr;
IFileDialogService* g_fileDialogs = nullptr;
ILinkOpener* g_links = nullptr;
IPrintService* g_printing = nullptr;
std::string g_makerWebAddress;

} // namespace

ILinkOpener& LinkOpener() {
    static CDesktopLinks desktop;
    return g_links ? *g_links : desktop;
}

void SetLinkOpener(ILinkOpener* opener) {
    g_links = opener;
}

IPrintService& PrintService() {
    static CQtPrinting qtPrinting;
    return g_printing ? *g_printing : qtPrinting;
}

void SetPrintService(IPrintService* service) {
    g_printing = service;
}

IViewSettings& ViewSettings() {
    static CMemorySettings memory;
    return g_settings ? *g_settings : memory;
}

void SetViewSettings(IViewSettings* settings) {
    g_settings = settings;
}

const std::string& MakerWebAddress() {
    return g_makerWebAddress;
}

void SetMakerWebAddress(std::string address) {
    g_makerWebAddress = std::move(address);
}

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

namespace {

std::string FileFilter(const SFileQuestion& question) {
    return question.kind + " (*." + question.extension + ")";
}

bool MayAsk(const IUIController* controller, const CDeviceAccess& device,
            const SFileQuestion& question) {
    return controller != nullptr && PrivateDialogsPermitted(*controller, device, question.refusal);
}

} // namespace

std::vector<std::string> AskFilesToOpen(const IUIController* controller,
                                        const CDeviceAccess& device, QWidget* parent,
                                        const SFileQuestion& question) {
    if (!MayAsk(controller, device, question)) {
        return {};
    }
    std::vector<std::string> paths =
        FileDialogs().GetOpenFileNames(parent, question.title, FileFilter(question));
    std::erase_if(paths, [](const std::string& path) { return path.empty(); });
    return paths;
}

std::optional<std::string> AskFile(const IUIController* controller, const CDeviceAccess& device,
                                   QWidget* parent, const SFileQuestion& question, bool save) {
    if (!MayAsk(controller, device, question)) {
        return std::nullopt;
    }
    const std::string filter = FileFilter(question);
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
