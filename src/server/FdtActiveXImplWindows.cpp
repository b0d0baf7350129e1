// The control window's side of CFdtActiveXImpl: creation of the areas, their layout on each
// size message, the splitter position and focus at start, and window destruction.

#include "server/FdtActiveXImpl.h"

#include "ui/PaneNavigator.h"
#include "ui/SharedIcons.h"

#include <QCoreApplication>
#include <QResizeEvent>

#include <algorithm>
#include <initializer_list>

namespace {

// Makes `area` a visible child of `parent`.
void Adopt(QWidget& area, QWidget* parent) {
    area.setParent(parent);
    area.show();
}

} // namespace

void CFdtActiveXImpl::CreateWindows(QWidget* control) {
    CSharedIcons::Instance().Acquire();
    LinkController();
    CreateAreas(control);
    m_paneNavigator.SetPane(IPaneNavigator::kActionSlot, &m_actionArea);
    m_paneNavigator.SetPane(IPaneNavigator::kTreeSlot, &m_navigationArea);
    m_splitter.SetSplitterPane(CSplitter::kLeftPane, &m_navigationArea);
    m_layoutReady = 1;
    // The same size message the controller posts when an area is hidden or shown: the layout
    // runs once the event loop takes it.
    QCoreApplication::postEvent(control, new QResizeEvent(QSize(0, 0), QSize(0, 0)));
}

void CFdtActiveXImpl::LinkController() {
    m_controller.SetPaneNavigator(&m_paneNavigator);
    m_controller.SetSplitter(&m_splitter);
    m_controller.SetActionArea(&m_actionArea);
    m_controller.SetIdentificationArea(&m_identificationArea);
    m_controller.SetStatusArea(&m_statusArea);
    m_controller.SetToolbarArea(&m_toolbarArea);
    m_controller.SetNavigationArea(&m_navigationArea);
    m_navigationArea.SetController(&m_controller);
    m_actionArea.SetController(&m_controller);
    m_toolbarArea.SetController(&m_controller);
}

void CFdtActiveXImpl::CreateAreas(QWidget* control) {
    Adopt(m_splitter, control);
    Adopt(m_navigationArea, &m_splitter);
    Adopt(m_statusArea, control);
    m_statusArea.SetTextProvider(&m_textProvider);
    Adopt(m_toolbarArea, control);
    m_toolbarArea.SetTextProvider(&m_textProvider);
    Adopt(m_identificationArea, control);
    Adopt(m_actionArea, control);
}

void CFdtActiveXImpl::LayoutAreas() {
    const QWidget* control = GetControlWindow();
    if (m_layoutReady == 0 || control == nullptr) {
        return;
    }
    const int width = control->width();
    const int height = control->height();
    // What is left for the splitter once each area took its height, in this order; an area
    // gets what is left when that is less than its height.
    int rest = height;
    const auto take = [&rest](int wanted) {
        const int taken = std::min(rest, wanted);
        rest -= taken;
        return taken;
    };
    const int status = take(m_statusArea.GetHeight());
    const int toolbar = m_toolbarArea.IsVisible() ? take(m_toolbarArea.GetHeight()) : 0;
    const int action = m_actionArea.IsVisible() ? take(m_actionArea.GetHeight()) : 0;
    const int identification = take(m_identificationArea.GetHeight());
    m_identificationArea.setGeometry(0, 0, width, identification);
    m_toolbarArea.setGeometry(0, identification, width, toolbar);
    m_splitter.setGeometry(0, identification + toolbar, width, rest);
    m_actionArea.setGeometry(0, identification + toolbar + rest, width, action);
    m_statusArea.setGeometry(0, height - status, width, status);
}

void CFdtActiveXImpl::PositionSplitter(const QWidget& control) {
    const double ratio = m_controller.GetSplitterRatio();
    m_splitter.SetSplitterPos(ratio != 0.0 ? static_cast<int>(ratio * control.width())
                                           : m_controller.GetSplitterPosition());
}

void CFdtActiveXImpl::FocusNavigation() {
    // Selecting the root entry shows its view through the navigation area.
    if (const CNavigationEntry* root =
            m_navigationArea.FindEntryByItem(m_navigationArea.topLevelItem(0))) {
        m_navigationArea.SelectView(root->viewId);
    }
    m_navigationArea.SetFocus();
}

void CFdtActiveXImpl::DestroyWindows() {
    m_paneNavigator.RemovePane(IPaneNavigator::kActionSlot);
    m_paneNavigator.RemovePane(IPaneNavigator::kTreeSlot);
    m_controller.DestroyViews();
    CSharedIcons::Instance().Release();
    RemoveToolTipHook();
    ReleaseAreas();
    m_layoutReady = 0;
}

void CFdtActiveXImpl::ReleaseAreas() {
    // The areas are members of this object: out of the window before Qt deletes its children.
    // The tree stays in the splitter; both are ours.
    for (QWidget* area : std::initializer_list<QWidget*>{&m_splitter, &m_statusArea, &m_toolbarArea,
                                                         &m_identificationArea, &m_actionArea}) {
        area->setParent(nullptr);
    }
}
