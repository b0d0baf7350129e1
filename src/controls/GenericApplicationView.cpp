#include "controls/GenericApplicationView.h"

#include "controls/FdtControlBase.h"
#include "controls/FdtControlFactory.h"
#include "controls/LayoutManagers.h"
#include "ui/Guard.h"
#include "ui/LayoutDescriptionParser.h"
#include "ui/UIController.h"
#include "ui/UIEvents.h"
#include "xml/Xml.h"

#include <QEvent>

#include <algorithm>
#include <functional>
#include <stdexcept>

namespace {

constexpr const char* kWhere = "CGenericApplicationView";

// Calls back when the watched widget was resized.
class CResizeWatcher : public QObject {
public:
    CResizeWatcher(QObject* watched, std::function<void()> resized)
        : QObject(watched), m_resized(std::move(resized)) {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Resize) {
            Guarded(kWhere, m_resized);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_resized;
};

} // namespace

CGenericApplicationView::CGenericApplicationView(int viewId, int helpContextId, bool autoSizeLables)
    : CApplicationViewCore(viewId, 0), m_helpContextId(helpContextId),
      m_autoSizeLables(autoSizeLables) {}

CGenericApplicationView::~CGenericApplicationView() {
    // The layout manager knows the controls; the controls' frames live in the window.
    delete m_resizeWatcher.data();
    SetLayoutManager(nullptr);
    m_items.clear();
    m_unboundControls.clear();
}

std::unique_ptr<IApplicationView>
CGenericApplicationView::Build(const CGenericViewDescription& description,
                               IUIController& controller, QWidget* viewParent,
                               ITextResource* textProvider) {
    auto view = std::make_unique<CGenericApplicationView>(
        description.viewId, description.helpContextId, description.autoSizeLables);
    view->SetController(&controller);
    view->SetLayoutManager(
        CLayoutManagerFactory::Instance().Create(description.layoutManager, view.get()));
    if (view->GetLayoutManager() == nullptr) {
        ReportGuardError(kWhere, "view " + std::to_string(description.viewId) +
                                     ": unknown layout manager \"" + description.layoutManager +
                                     "\"; the controls stay where they are placed");
    }
    view->Create(viewParent);
    view->CreateControls(description.element, textProvider);
    return view;
}

void CGenericApplicationView::OnInitDialog() {
    m_resizeWatcher = new CResizeWatcher(GetContent(), [this] { DoLayout(); });
}

void CGenericApplicationView::CreateControls(const xml::Node& element,
                                             ITextResource* textProvider) {
    for (const xml::Node& child : element.Children()) {
        const std::optional<std::string> error = CaughtError([&] {
            std::unique_ptr<IFdtControl> control = CFdtControlFactory::Instance().CreateControl(
                child, GetContent(), this, textProvider);
            if (control == nullptr) {
                throw std::invalid_argument("no control of this kind");
            }
            auto* item = dynamic_cast<CFdtControlBase*>(control.get());
            // Controls of a custom factory are taken for data-bound ones.
            if (item == nullptr || item->IsDataBound()) {
                const int id = control->GetControlId();
                if (!AddControl(control)) {
                    throw std::invalid_argument("control id " + std::to_string(id) +
                                                " is used twice");
                }
            } else {
                m_unboundControls.push_back(std::move(control));
            }
            if (item != nullptr) {
                m_items.push_back(item);
            }
        });
        if (error) {
            ReportGuardError(kWhere, "view " + std::to_string(GetViewId()) + ", " + child.Name() +
                                         ": " + *error);
        }
    }
    if (m_autoSizeLables) {
        EqualiseLabels();
    }
    if (ILayoutManager* manager = GetLayoutManager()) {
        for (CFdtControlBase* item : m_items) {
            manager->AddItem(item);
        }
    }
    DoLayout();
}

void CGenericApplicationView::EqualiseLabels() {
    int width = 0;
    for (const CFdtControlBase* item : m_items) {
        width = std::max(width, item->GetNaturalLabelWidth());
    }
    for (CFdtControlBase* item : m_items) {
        if (item->HasSideLabel()) {
            item->SetLabelWidth(width);
        }
    }
}

void CGenericApplicationView::DoLayout() {
    if (ILayoutManager* manager = GetLayoutManager()) {
        manager->DoLayout();
    }
}

void CGenericApplicationView::Activate() {
    const bool wasActive = IsActive();
    CApplicationViewCore::Activate();
    if (!wasActive) {
        RefreshControls(-1);
    }
}

bool CGenericApplicationView::SendEvent(CUIEventBase& event) {
    IUIController* controller = GetController();
    if (controller == nullptr) {
        return false;
    }
    if (const auto* command = dynamic_cast<const CCommandEvent*>(&event);
        command != nullptr && command->GetControlId() == kReadAllCommand) {
        CViewActivatedEventImpl activated(GetViewId());
        return controller->SendEvent(activated);
    }
    return controller->SendEvent(event);
}

bool CGenericApplicationView::IsEditingAllowed() const {
    return GetController() == nullptr || GetController()->IsEditingAllowed();
}

void CGenericApplicationView::OnHelp() {
    if (IUIController* controller = GetController()) {
        controller->ForwardToEditModel(m_helpContextId, 0);
    }
}
