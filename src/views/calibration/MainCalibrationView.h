#pragma once

#include "views/common/DeviceView.h"
#include "views/common/ViewButtons.h"

#include <functional>

// The Calibration hub: one button per calibration view; "Transmitter Calibration" shows only
// when the device reports a position transmitter.
class CMainCalibrationView : public CDeviceView<CMainCalibrationView, 326> {
public:
    static constexpr int kViewId = 1400;
    static constexpr int kTransmitterViewId = 1404;
    static constexpr std::uint32_t kTransmitterInstalled = 0x01700001;

    CMainCalibrationView(const SViewContext& context, std::function<bool(int viewId)> viewExists);

    QPushButton* FindButton(int viewId) const { return FindViewButton(m_buttons, viewId); }

protected:
    std::unique_ptr<QWidget> CreateDeviceContent() override;
    void OnDeviceActivated() override;
    void OnParameter(std::uint32_t key) override;

private:
    std::function<bool(int)> m_viewExists;
    ViewButtonList m_buttons;
};
