#pragma once

#include "controls/FdtControlOwner.h"
#include "ui/ApplicationViewBase.h"

#include <QPointer>

#include <memory>
#include <string>
#include <vector>

class CFdtControlBase;
class ITextResource;
struct CGenericViewDescription;

namespace xml {
class Node;
}

// An application view described entirely by a `GenericView` element of the layout
// description: its controls come from the element's children and its layout manager places
// them, at creation and whenever the view is resized. The view is the owner of its controls'
// events and hands them to the controller. With label auto-sizing on, every label beside a
// field is as wide as the widest, so that the fields line up.
class CGenericApplicationView : public CApplicationViewCore, public IFdtControlOwner {
public:
    // The action id of a button that has the DTM read every parameter of the view again (as
    // when the view is activated).
    static constexpr int kReadAllCommand = 1;

    CGenericApplicationView(int viewId, int helpContextId, bool autoSizeLables);
    ~CGenericApplicationView() override;

    // The view of one `GenericView` element, its window a child of `viewParent`, its layout
    // manager the one the element names (none for an unknown name, which is reported).
    static std::unique_ptr<IApplicationView> Build(const CGenericViewDescription& description,
                                                   IUIController& controller, QWidget* viewParent,
                                                   ITextResource* textProvider);

    // Creates the controls of the element's children in document order and lays them out. A
    // child that makes no control (an unknown kind, a missing identifier, a bad number, an
    // identifier used twice) is reported through the guard and skipped.
    void CreateControls(const xml::Node& element, ITextResource* textProvider);
    // The layout manager's placement and extent; nothing without a manager.
    void DoLayout();

    int GetHelpContextId() const { return m_helpContextId; }
    bool GetAutoSizeLables() const { return m_autoSizeLables; }
    // Every control in the order of the description.
    const std::vector<CFdtControlBase*>& GetLaidOutControls() const { return m_items; }

    // Every control asks for its value at once (the DTM's copy); the reads that the
    // activation asks the DTM for refresh them as their answers come.
    void Activate() override;

    // IFdtControlOwner
    bool SendEvent(CUIEventBase& event) override;
    int GetOwnerId() const override { return GetViewId(); }
    bool IsEditingAllowed() const override;
    void OnControlStateChanged() override { UpdateState(); }

protected:
    void OnInitDialog() override;
    void OnHelp() override;

private:
    void EqualiseLabels();

    const int m_helpContextId;
    const bool m_autoSizeLables;
    // The controls that show no parameter (captions, static texts, buttons, images); the
    // data-bound ones are kept with the view's controls by id.
    std::vector<std::unique_ptr<IFdtControl>> m_unboundControls;
    std::vector<CFdtControlBase*> m_items;
    QPointer<QObject> m_resizeWatcher;
};
