#include "ui/UIController.h"

#include "fdt/DtmInterfaces.h"
#include "ui/DtmStateDocument.h"
#include "ui/PaneNavigator.h"
#include "ui/UIEditModel.h"
#include "ui/UIEvents.h"
#include "xml/Xml.h"

#include <QCoreApplication>
#include <QResizeEvent>

#include <vector>

CUIController::CUIController() = default;

CUIController::~CUIController() {
    RemoveAllViews();
}

bool CUIController::SendEvent(CUIEventBase& event) {
    return m_editModel != nullptr && m_editModel->OnUIEvent(event);
}

void CUIController::ShowView(int viewId) {
    if (!m_splitter) {
        return;
    }
    IApplicationView* view = FindView(viewId);
    if (view == nullptr) {
        CViewRequestEventImpl request(viewId);
        SendEvent(request);
        view = FindView(viewId);
        if (view == nullptr) {
            return;
        }
    }
    if (QWidget* shown = m_splitter->GetSplitterPane(CSplitter::kRightPane)) {
        if (IApplicationView* old = FindViewByWindow(shown)) {
            old->Deactivate();
        }
        shown->hide();
    }
    QWidget* window = view->GetWindow();
    if (window == nullptr) {
        return;
    }
    m_splitter->SetSplitterPane(CSplitter::kRightPane, window);
    window->show();
    if (m_paneNavigator) {
        m_paneNavigator->SetPane(IPaneNavigator::kViewSlot, window);
    }
    view->Activate();
    m_currentViewId = viewId;
    CViewActivatedEventImpl activated(viewId);
    SendEvent(activated);
}

void CUIController::UpdateViewControls(int viewId, const std::string& controlData) {
    if (IApplicationView* view = FindView(viewId)) {
        view->UpdateControls(controlData);
    }
}

void CUIController::LoadLayout(const std::string& layout) {
    if (layout.empty() || m_navigationArea == nullptr || !m_layoutParser) {
        return;
    }
    m_layoutParser(layout, *this, *m_navigationArea, GetViewParent(), m_textProvider);
}

bool CUIController::RegisterView(int viewId, std::unique_ptr<IApplicationView>& view) {
    if (view == nullptr || m_views.contains(viewId)) {
        return false;
    }
    m_views.emplace(viewId, std::move(view));
    return true;
}

QWidget* CUIController::GetViewParent() const {
    return m_splitter;
}

void CUIController::RemoveAllViews() {
    // Taken out first, so that nothing a view does while it goes finds a half-empty registry.
    auto views = std::move(m_views);
    m_views.clear();
    for (auto& entry : views) {
        DeleteView(std::move(entry.second));
    }
}

void CUIController::DeleteView(std::unique_ptr<IApplicationView> view) {
    view.reset();
}

void CUIController::RemoveView(int viewId) {
    auto found = m_views.find(viewId);
    if (found == m_views.end()) {
        return;
    }
    std::unique_ptr<IApplicationView> view = std::move(found->second);
    m_views.erase(found);
    DeleteView(std::move(view));
}

IApplicationView* CUIController::FindView(int viewId) const {
    auto found = m_views.find(viewId);
    return found != m_views.end() ? found->second.get() : nullptr;
}

IApplicationView* CUIController::FindViewByWindow(const QWidget* window) const {
    for (const auto& [id, view] : m_views) {
        if (view->GetWindow() == window) {
            return view.get();
        }
    }
    return nullptr;
}

void CUIController::HideActionArea(bool hide) {
    if (m_action.window) {
        m_action.window->setVisible(!hide);
    }
    if (m_action.visibility) {
        m_action.visibility->SetVisible(!hide);
    }
    PostLayout();
}

void CUIController::HideToolbarArea(bool hide) {
    if (m_toolbar.visibility) {
        m_toolbar.visibility->SetVisible(!hide);
    }
    PostLayout();
}

void CUIController::PostLayout() const {
    // The control lays its areas out on every size message, reading its own client size.
    if (QWidget* control = m_splitter ? m_splitter->parentWidget() : nullptr) {
        QCoreApplication::postEvent(control, new QResizeEvent(QSize(0, 0), QSize(0, 0)));
    }
}

void CUIController::HideNavigationTree(bool hide) {
    if (m_editModel && m_splitter) {
        m_splitter->SetRightPaneOnly(hide);
    }
}

bool CUIController::IsNavigationTreeHidden() const {
    return m_splitter && m_splitter->IsRightPaneOnly();
}

void CUIController::ForwardToEditModel(int first, int second) {
    if (m_editModel) {
        m_editModel->ShowHelp(first, second);
    }
}

void CUIController::SetUserLevel(const std::string& userLevel) {
    if (userLevel != m_userLevel) {
        m_userLevel = userLevel;
        NotifyUserLevelChanged();
    }
}

bool CUIController::IsEditingAllowed() const {
    return m_editModel == nullptr || m_editModel->IsEditingAllowed();
}

void CUIController::NotifyUserLevelChanged() {
    for (auto& [id, view] : m_views) {
        view->OnUserLevelChanged();
    }
}

void CUIController::SetViewState(int viewId, int state) {
    if (m_navigationArea) {
        m_navigationArea->SetEntryState(viewId, state);
    }
    if (m_editModel) {
        m_editModel->OnViewStateChanged(viewId);
    }
}

void CUIController::RefreshViewControl(int viewId, int controlId) {
    if (IApplicationView* view = FindView(viewId)) {
        view->RefreshControl(controlId);
    }
}

void CUIController::RefreshControls(int viewId, int controlId) {
    if (viewId != -1) {
        if (IApplicationView* view = FindView(viewId)) {
            view->RefreshControls(controlId);
        }
        return;
    }
    for (auto& [id, view] : m_views) {
        view->RefreshControls(controlId);
    }
}

void CUIController::OnUpdate(int updateType, const std::string& data) {
    if (updateType == dtm_update::kStateDocument) {
        // Read once here; the status area gets the attributes, not the text.
        if (const auto state = SDtmStateDocument::Parse(data)) {
            ReadStateDocument(*state);
            if (m_status.area) {
                m_status.area->ShowDtmState(*state);
            }
        }
    }
    for (IInternalUpdateUI* receiver :
         {m_action.updates, static_cast<IInternalUpdateUI*>(m_editModel), m_identification.updates,
          m_status.updates, m_toolbar.updates}) {
        if (receiver) {
            receiver->OnUpdate(updateType, data);
        }
    }
    if (!m_broadcastUpdates) {
        if (IApplicationView* view = FindView(m_currentViewId)) {
            view->OnUpdate(updateType, data);
        }
        return;
    }
    // A view may register or remove views while it handles the update: walk the ids as they
    // were and look each one up again.
    std::vector<int> ids;
    ids.reserve(m_views.size());
    for (const auto& entry : m_views) {
        ids.push_back(entry.first);
    }
    for (int id : ids) {
        if (IApplicationView* view = FindView(id)) {
            view->OnUpdate(updateType, data);
        }
    }
}

void CUIController::ReadStateDocument(const SDtmStateDocument& state) {
    if (!state.isPrivateDialogEnabled.empty()) {
        m_privateDialogsEnabled = state.isPrivateDialogEnabled == "1";
    }
    if (!state.userLevel.empty()) {
        SetUserLevel(state.userLevel);
    }
}

void CUIController::DestroyViews() {
    if (m_paneNavigator) {
        m_paneNavigator->RemovePane(IPaneNavigator::kViewSlot);
    }
    // Deleting a view destroys its window, whether it is active or not.
    RemoveAllViews();
    m_splitter = nullptr;
    m_action = {};
    m_identification = {};
    m_status = {};
    m_toolbar = {};
    m_editModel = nullptr;
}
