#include "views/configuration/ConfigurationHubs.h"

#include "views/common/ViewTitle.h"
#include "views/fieldbus/AllParametersView.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

CConfigurationHub::CConfigurationHub(const SViewContext& context, const char* title,
                                     const char* group, std::vector<SViewButton> buttons,
                                     std::function<bool(int)> viewExists)
    : CDeviceViewCore(context, EHeader::WithNavigation), m_title(title), m_group(group),
      m_entries(std::move(buttons)), m_viewExists(std::move(viewExists)) {}

std::unique_ptr<QWidget> CConfigurationHub::CreateDeviceContent() {
    auto content = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(content.get());
    layout->setContentsMargins(0, 0, 0, 0);
    AddViewTitle(*layout, content.get(), QString::fromUtf8(m_title));
    auto* group = new QGroupBox(QString::fromUtf8(m_group), content.get());
    auto* grid = new QGridLayout(group);
    grid->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    m_buttons = AddViewButtons(*grid, group, m_entries, 2, m_viewExists,
                               [this](int viewId) { ShowOtherView(viewId); });
    layout->addWidget(group);
    layout->addStretch(1);
    return content;
}

CMainConfigurationView::CMainConfigurationView(const SViewContext& context,
                                               std::function<bool(int)> viewExists)
    : CConfigurationHub(context, "CONFIGURATION", "Configuration Options",
                        {{1501, "Information"}, {1600, "Custom"}, {1700, "Wizards"}},
                        std::move(viewExists)) {}

CMainCustomView::CMainCustomView(const SViewContext& context, std::function<bool(int)> viewExists)
    : CConfigurationHub(context, "CUSTOM", "Custom Configuration Options",
                        {{1102, "Positioner"}, {1602, "Tuning"}, {1603, "Units"}},
                        std::move(viewExists)) {}

// The raw parameter list sits beside the block information, where a technician looks for the
// device's own data.
CMainInformationView::CMainInformationView(const SViewContext& context,
                                           std::function<bool(int)> viewExists)
    : CConfigurationHub(context, "INFORMATION", "Information Configuration Options",
                        {{1103, "Actuator"},
                         {1101, "Valve"},
                         {1104, " FF Information "},
                         {1506, " FF Block Information "},
                         {CAllParametersView::kViewId, "All Parameters"}},
                        std::move(viewExists)) {}

CMainWizardsView::CMainWizardsView(const SViewContext& context, std::function<bool(int)> viewExists)
    : CConfigurationHub(context, "WIZARDS", "Wizards Configuration Options",
                        {{1701, "Failure Mode"}}, std::move(viewExists)) {}
