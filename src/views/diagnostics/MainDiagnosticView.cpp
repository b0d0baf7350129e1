#include "views/diagnostics/MainDiagnosticView.h"

#include "views/common/DeviceKeys.h"
#include "views/common/ServiceModeSwitch.h"
#include "views/common/ViewButtons.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

const std::vector<MainDiagnosticView::SDiagnostic>& MainDiagnosticView::Diagnostics() {
    static const std::vector<SDiagnostic> diagnostics{
        {1302, "Histogram"},           {1303, "Trends"},
        {1304, "Multi Step Test"},     {1305, "Ramp Test"},
        {1306, "Partial Stroke Test"}, {1301, "Data Logger"},
        {1307, "Event Log"},
    };
    return diagnostics;
}

MainDiagnosticView::MainDiagnosticView(const SViewContext& context,
                                       std::function<bool(int viewId)> viewExists)
    : CDeviceView(context, EHeader::WithNavigation), m_viewExists(std::move(viewExists)) {}

std::unique_ptr<QWidget> MainDiagnosticView::CreateDeviceContent() {
    auto content = std::make_unique<QWidget>();
    auto* layout = new QHBoxLayout(content.get());

    auto* views = new QGroupBox(QStringLiteral("Diagnostics"), content.get());
    auto* grid = new QGridLayout(views);
    grid->setAlignment(Qt::AlignTop);
    std::vector<SViewButton> entries;
    for (const SDiagnostic& diagnostic : Diagnostics()) {
        entries.push_back({diagnostic.viewId, diagnostic.label});
    }
    m_buttons = AddViewButtons(*grid, views, entries, 2, m_viewExists,
                               [this](int viewId) { ShowOtherView(viewId); });
    layout->addWidget(views, 1);

    layout->addWidget(CreateServiceStatus(content.get(), &m_switch));
    return content;
}

QPushButton* MainDiagnosticView::FindButton(int viewId) const {
    return FindViewButton(m_buttons, viewId);
}

void MainDiagnosticView::OnParameter(std::uint32_t key) {
    if (key == device_keys::kServiceMode && m_switch) {
        m_switch->OnModeChanged();
    }
}
