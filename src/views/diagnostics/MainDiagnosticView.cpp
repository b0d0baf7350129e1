#include "views/diagnostics/MainDiagnosticView.h"

#include "ui/UIController.h"
#include "views/common/DeviceKeys.h"
#include "views/common/ServiceModeSwitch.h"

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
    int index = 0;
    for (const SDiagnostic& diagnostic : Diagnostics()) {
        auto* button = new QPushButton(QString::fromUtf8(diagnostic.label), views);
        button->setMinimumWidth(160);
        button->setEnabled(m_viewExists && m_viewExists(diagnostic.viewId));
        grid->addWidget(button, index / 2, index % 2);
        ++index;
        const int viewId = diagnostic.viewId;
        QObject::connect(button, &QPushButton::clicked, button, [this, viewId] {
            RunGuarded("Show view", [this, viewId] {
                if (GetController()) {
                    GetController()->ShowView(viewId);
                }
            });
        });
        m_buttons.emplace_back(diagnostic.viewId, button);
    }
    layout->addWidget(views, 1);

    auto* service = new QGroupBox(QStringLiteral("Service Status"), content.get());
    auto* serviceLayout = new QVBoxLayout(service);
    m_switch = new CServiceModeSwitch(
        CServiceModeSwitch::EWording::DeviceView, State(), Device(),
        {[this] { StopHeaderPolling(); }, [this] { StartHeaderPolling(); },
         [this](const char* where, const std::function<void()>& work) { RunGuarded(where, work); }},
        service);
    serviceLayout->addWidget(m_switch);
    serviceLayout->addStretch(1);
    layout->addWidget(service);
    return content;
}

QPushButton* MainDiagnosticView::FindButton(int viewId) const {
    for (const auto& [id, button] : m_buttons) {
        if (id == viewId) {
            return button;
        }
    }
    return nullptr;
}

void MainDiagnosticView::OnParameter(std::uint32_t key) {
    if (key == device_keys::kServiceMode && m_switch) {
        m_switch->OnModeChanged();
    }
}
