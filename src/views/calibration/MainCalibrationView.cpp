#include "views/calibration/MainCalibrationView.h"

#include "model/NumericParameterDescriptor.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>

CMainCalibrationView::CMainCalibrationView(const SViewContext& context,
                                           std::function<bool(int viewId)> viewExists)
    : CDeviceView(context, EHeader::WithNavigation), m_viewExists(std::move(viewExists)) {}

std::unique_ptr<QWidget> CMainCalibrationView::CreateDeviceContent() {
    auto content = std::make_unique<QWidget>();
    auto* layout = new QHBoxLayout(content.get());
    auto* options = new QGroupBox(QStringLiteral("Calibration options"), content.get());
    auto* grid = new QGridLayout(options);
    grid->setAlignment(Qt::AlignTop);
    m_buttons = AddViewButtons(*grid, options,
                               {{1401, "Automatic Calibration"},
                                {1402, "Pressure Sensors Calibration"},
                                {1403, "Setpoint Current Calibration"},
                                {kTransmitterViewId, "Transmitter Calibration"}},
                               1, m_viewExists, [this](int viewId) { ShowOtherView(viewId); });
    FindButton(kTransmitterViewId)->hide();
    layout->addWidget(options);
    layout->addStretch(1);
    return content;
}

void CMainCalibrationView::OnDeviceActivated() {
    Device().RequestRead(kTransmitterInstalled);
}

void CMainCalibrationView::OnParameter(std::uint32_t key) {
    if (key == kTransmitterInstalled) {
        const std::optional<std::string> installed =
            Device().Fetch<CNumericParameterDescriptor>(key);
        FindButton(kTransmitterViewId)->setVisible(installed && *installed != "0");
    }
}
