#pragma once

#include "views/common/DeviceView.h"

#include <functional>
#include <utility>
#include <vector>

class CServiceModeSwitch;
class QPushButton;

// The Diagnostics hub: one button per diagnostic view (enabled once the view exists), the
// service mode switch and the device view header.
class MainDiagnosticView : public CDeviceView<MainDiagnosticView, 323> {
public:
    static constexpr int kViewId = 1300;
    struct SDiagnostic {
        int viewId;
        const char* label;
    };
    // The diagnostic views in the order of the hub's buttons.
    static const std::vector<SDiagnostic>& Diagnostics();

    MainDiagnosticView(const SViewContext& context, std::function<bool(int viewId)> viewExists);

    CServiceModeSwitch* GetServiceSwitch() const { return m_switch; }
    QPushButton* FindButton(int viewId) const;

protected:
    std::unique_ptr<QWidget> CreateDeviceContent() override;
    void OnParameter(std::uint32_t key) override;

private:
    std::function<bool(int)> m_viewExists;
    CServiceModeSwitch* m_switch = nullptr;
    std::vector<std::pair<int, QPushButton*>> m_buttons; // the view buttons
};
