#pragma once

#include "ui/ApplicationView.h"
#include "ui/ApplicationViewLayout.h"
#include "ui/FdtControl.h"
#include "ui/LayoutManager.h"

#include <QPointer>
#include <QWidget>

#include <map>
#include <memory>
#include <string>

class CViewToolTip;
class QScrollArea;

// What every application view shares, whatever its dialog: the view's window (a scroll area
// around the view's dialog), its data-bound controls, its tool-tip window, the active flag,
// the view state and the layout manager. The view object owns its window: the window is
// created by Create() and destroyed with the view (or earlier by its Qt parent, which the view
// notices).
class CApplicationViewCore : public IApplicationView, public IApplicationViewLayout {
public:
    ~CApplicationViewCore() override;
    CApplicationViewCore(const CApplicationViewCore&) = delete;
    CApplicationViewCore& operator=(const CApplicationViewCore&) = delete;

    // Creates the window as a hidden child of `parent` (dialog initialisation): the scroll
    // area with the dialog from CreateDialogContent, the tool-tip window, then OnInitDialog.
    // Answers the window; a second call answers the same window.
    QWidget* Create(QWidget* parent);

    int GetViewId() const { return m_viewId; }
    int GetDialogId() const { return m_dialogId; }
    IUIController* GetController() const { return m_controller; }
    // The dialog inside the scroll area; null before Create.
    QWidget* GetContent() const { return m_content; }
    QScrollArea* GetScrollArea() const;
    CViewToolTip* GetToolTipWindow() const;

    // Takes the control and answers true when its id is new; otherwise answers false and
    // leaves it with the caller.
    bool AddControl(std::unique_ptr<IFdtControl>& control);
    IFdtControl* FindControl(int controlId) const;

    // IApplicationView
    QWidget* GetWindow() const override;
    bool IsActive() const override { return m_active; }
    void Activate() override;
    void Deactivate() override;
    void UpdateControls(const std::string& controlData) override;
    void SetController(IUIController* controller) override { m_controller = controller; }
    void AddToolTip(QWidget* child, const std::string& text) override;
    void RemoveToolTip(QWidget* child) override;
    void UpdateState() override;
    int GetState() const override { return m_state; }
    void OnUpdate(int updateType, const std::string& data) override;
    std::string GetListOfControls() const override;
    void RefreshControl(int controlId) override;
    void RefreshControls(int controlId) override;
    void OnUserLevelChanged() override;

    // IApplicationViewLayout
    ILayoutManager* GetLayoutManager() const override { return m_layoutManager.get(); }
    void SetLayoutManager(std::unique_ptr<ILayoutManager> manager) override;
    void SetScrollSize(const QSize& size) override;

protected:
    CApplicationViewCore(int viewId, int dialogId);

    // The view's dialog, put into the scroll area; the default is an empty widget.
    virtual std::unique_ptr<QWidget> CreateDialogContent();
    // Runs once the window, the dialog and the tool-tip window exist.
    virtual void OnInitDialog() {}
    // The help key (F1) was pressed in the view.
    virtual void OnHelp() {}

private:
    IUIController* m_controller = nullptr;
    const int m_viewId;
    const int m_dialogId;
    std::map<int, std::unique_ptr<IFdtControl>> m_controls; // by control id
    QPointer<QWidget> m_window;
    QPointer<QScrollArea> m_scrollArea;
    QPointer<QWidget> m_content;
    QPointer<CViewToolTip> m_toolTip;
    bool m_active = false;
    int m_state = 0;
    std::unique_ptr<ILayoutManager> m_layoutManager;
};

// The base of every application view. `T` is the view class; `dialogId` the numeric id of its
// dialog (for example 202), which names the window ("dialog202").
template <class T, int dialogId> class CApplicationViewBase : public CApplicationViewCore {
public:
    static constexpr int DialogId = dialogId;

protected:
    explicit CApplicationViewBase(int viewId) : CApplicationViewCore(viewId, dialogId) {}
};
