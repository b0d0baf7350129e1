#pragma once

#include "controls/LayoutItem.h"
#include "ui/FdtControl.h"

#include <QLabel>
#include <QPointer>
#include <QRect>

#include <cstdint>
#include <optional>
#include <string>

class CUIEventBase;
namespace UIEventFields {
class ControlState;
}
class IFdtControlOwner;
class ITextResource;

// What every data-bound control is built with.
struct SControlSetup {
    int controlId = 0;
    IFdtControlOwner* owner = nullptr;
    ITextResource* textProvider = nullptr;
    bool iconTooltips = false; // state icons get tooltips
};

// What all control kinds share: the identifier (the parameter key for data-bound kinds), the
// label, tag and unit, the state (enabled, available, modified, refreshing, inconsistent, the
// semantic error) with its state icon, and the control's frame: one child window of the view
// holding, left to right, the label, the kind's own window (the field), the unit and the
// state icon. Sizes and positions are device-independent pixels.
class CFdtControlBase : public IFdtControl, public ILayoutItem {
public:
    // View states of a control, by how bad they are.
    static constexpr int kStateNormal = 0;
    static constexpr int kStateModified = 1;
    static constexpr int kStateInvalid = 2;
    static constexpr int kStateRefreshing = 3;
    static constexpr int kStateNotAvailable = 4;
    // Text ids of the state tooltips.
    static constexpr std::uint32_t kTextNotAvailable = 28;
    static constexpr std::uint32_t kTextRefreshing = 29;
    static constexpr std::uint32_t kTextModified = 30;
    static constexpr std::uint32_t kTextUnknownError = 19;
    // Inside the frame: the gap after the label, before the unit and before the icon.
    static constexpr int kLabelGap = 8;
    static constexpr int kUnitGap = 6;
    static constexpr int kIconGap = 4;
    static constexpr int kIconSize = 16;

    explicit CFdtControlBase(const SControlSetup& setup);
    ~CFdtControlBase() override;
    CFdtControlBase(const CFdtControlBase&) = delete;
    CFdtControlBase& operator=(const CFdtControlBase&) = delete;

    // Creates the frame in `parent` at `location` with the kind's field; a field size of 0
    // takes the kind's own size. Call once, before the setters below.
    void Create(QWidget* parent, const QPoint& location, const QSize& fieldSize);
    // -1 keeps the computed width or height of the field.
    void SetOverwriteSize(int width, int height);
    void SetLabelLines(int lines);
    void SetEnabled(bool enabled);
    void SetLabel(const std::string& label);
    void SetTag(const std::string& tag) { m_tag = tag; }
    void SetUnit(const std::string& unit);
    void SetGroupType(int groupType) { m_groupType = groupType; }
    void SetLayoutGroup(int group) { m_layoutGroup = group; }
    int GetLayoutGroup() const { return m_layoutGroup; }
    // The label's width as its text needs it; 0 without a label.
    int GetNaturalLabelWidth() const;
    // Gives the label a fixed width (equal labels across a view); -1 returns to the natural one.
    void SetLabelWidth(int width);
    // Whether the control shows a label beside its field (captions, buttons and static
    // texts show their label as their content).
    virtual bool HasSideLabel() const { return true; }
    // Whether the control exchanges a parameter's value with the edit model.
    virtual bool IsDataBound() const { return false; }

    // IFdtControl
    int GetControlId() const override { return m_controlId; }
    std::string GetLabel() const override { return m_label; }
    std::string GetTag() const override { return m_tag; }
    // The common part: enabled, available, modified, refreshing, inconsistent, semantic
    // error, tooltip, unit and label, then the kind's own part.
    void UpdateFromControlData(const xml::Node& controlData) override;
    int GetState() const override;
    void RequestData() override {}
    void OnUserLevelChanged() override { ApplyAccess(); }

    // ILayoutItem
    QSize GetSize() const override;
    QPoint GetPosition() const override;
    void MoveTo(int x, int y) override;
    int GetGroupType() const override { return m_groupType; }

    // The frame (null before Create) and the kind's field in it.
    QWidget* GetWindow() const { return m_frame; }
    QWidget* GetField() const { return m_field; }
    QLabel* GetLabelWindow() const { return m_labelWindow; }
    QLabel* GetUnitWindow() const { return m_unitWindow; }
    QLabel* GetStateIcon() const { return m_stateIcon; }
    // The field's text; empty without a window.
    virtual std::string GetWindowText() const { return {}; }
    virtual void SetWindowText(const std::string&) {}
    // Grows `rect` to take in the frame.
    void UnionWindowRect(QRect& rect) const;
    void MoveBy(int dx, int dy);

    bool HasSemanticError() const { return m_semanticError; }
    const std::string& GetSemanticErrorText() const { return m_semanticErrorText; }
    bool IsAvailable() const { return m_available; }
    // The tooltip of a state: modified, read periodically, not available; empty otherwise.
    std::string GetStateTooltip(int state) const;

    // The state queries of a `ControlData` element.
    static bool IsModified(const xml::Node& controlData);
    static bool IsNotAvailable(const xml::Node& controlData);
    static bool IsRefreshing(const xml::Node& controlData);
    // The semantic error the element reports; nothing when it reports none ("", "0").
    std::optional<std::string> SemanticError(const xml::Node& controlData) const;

protected:
    // The kind's own window, a child of `frame`.
    virtual QWidget* CreateField(QWidget* frame) = 0;
    // The field's size when the description gives none.
    virtual QSize DefaultFieldSize() const;
    // Whether the field takes input (and so follows the user level).
    virtual bool IsEditable() const { return false; }
    // The label text changed (kinds that show it as their content take it here).
    virtual void LabelChanged() {}
    // The kind's part of UpdateFromControlData.
    virtual void UpdateKindFromControlData(const xml::Node&) {}

    // Sends `event` through the owner. Answers the failure: the handler's error text, or the
    // text of what raising the event threw (reported through the guard as well); nothing when
    // it went through. `handled` tells whether a handler took it.
    std::optional<std::string> Raise(CUIEventBase& event, bool* handled = nullptr);
    // Raises a set event: a refusal puts the control in the semantic-error state with its text
    // (false), a set that went through clears that state (true).
    bool RaiseSet(CUIEventBase& event);
    int GetOwnerId() const;
    ITextResource* GetTextProvider() const { return m_textProvider; }
    bool* EventsBlockedFlag() { return &m_eventsBlocked; }
    bool AreEventsBlocked() const { return m_eventsBlocked; }

    // A get event starts from the enabled state the control data or the last answer gave;
    // the answer's enabled, modified and inconsistent flags become the control's.
    void PrepareGetEvent(UIEventFields::ControlState& event) const;
    void TakeGetAnswer(const UIEventFields::ControlState& answer);

    void EnterSemanticError(const std::string& text);
    void ClearSemanticError();
    void SetAvailable(bool available);
    void SetModifiedFlag(bool modified) { m_modified = modified; }
    void SetInconsistent(bool inconsistent) { m_inconsistent = inconsistent; }
    void SetVisible(bool visible);
    // Enables the field when the description, the control data and the user level allow.
    void ApplyAccess();
    // Shows the state icon and its tooltip for the current state.
    void ShowState();
    // Places label, field, unit and icon in the frame and sizes it.
    void Arrange();
    // The field's size after the overwrites.
    QSize FieldSize() const;

private:
    int LabelHeight() const;
    int UnitWidth() const;

    IFdtControlOwner* m_owner;
    ITextResource* m_textProvider;
    int m_controlId;
    int m_layoutGroup = 0;
    std::string m_label;
    bool m_semanticError = false;
    std::string m_semanticErrorText;
    bool m_enabled = true;     // from the description
    bool m_dataEnabled = true; // from the control data or the last get event
    bool m_available = true;
    bool m_modified = false;
    bool m_refreshing = false;
    bool m_inconsistent = false;
    int m_overwriteWidth = -1;
    int m_overwriteHeight = -1;
    int m_labelLines = 1;
    bool m_iconTooltips;

    std::string m_tag;
    std::string m_unit;
    int m_groupType = 0;
    int m_labelWidth = -1; // natural
    QSize m_fieldSize;
    std::string m_fieldTooltip; // the control data's tooltip
    bool m_eventsBlocked = false;
    QPointer<QWidget> m_frame;
    QPointer<QWidget> m_field;
    QPointer<QLabel> m_labelWindow;
    QPointer<QLabel> m_unitWindow;
    QPointer<QLabel> m_stateIcon;
};
