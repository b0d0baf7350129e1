#pragma once

// The event objects through which windows ask the edit model for data and hand it changes.
//
// A raiser builds an event on its stack, sends it through the controller (SendEvent) and
// reads the results and the error once the call returns. The edit model answers get events
// in place; every other event calls back the matching typed handler of an IUIEventCallback
// through its own Dispatch (double dispatch). A handler reports a failure only with SetError.
// An event that nobody handled comes back with its initial values.
//
// Each family is an abstract class put together from field holders (UIEventFields) that bring
// the accessors and the storage, and names the handler it is dispatched to. The event a raiser
// builds is CUIEventImpl<Family>, named after the family with `Impl` appended; it adds only
// Dispatch. Getters answer copies; "Mark" sets a flag for good.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class CActionEvent;
class CBitEnumSetEvent;
class CComboBoxSetEvent;
class CCommandEvent;
class CGenericSetEvent;
class CTextDataSetEvent;
class CViewActivatedEvent;
class CViewRequestEvent;

// The typed handlers that Dispatch calls; each answers whether it handled the event. The
// edit model implements it.
class IUIEventCallback {
public:
    virtual ~IUIEventCallback() = default;
    virtual bool OnAction(CActionEvent& event) = 0;
    virtual bool OnCommand(CCommandEvent& event) = 0;
    virtual bool OnViewActivated(CViewActivatedEvent& event) = 0;
    virtual bool OnViewRequest(CViewRequestEvent& event) = 0;
    virtual bool OnBitEnumSet(CBitEnumSetEvent& event) = 0;
    virtual bool OnComboBoxSet(CComboBoxSetEvent& event) = 0;
    virtual bool OnTextDataSet(CTextDataSetEvent& event) = 0;
    virtual bool OnGenericSet(CGenericSetEvent& event) = 0;
};

class CUIEventBase {
public:
    // Type codes, fixed by the family.
    static constexpr int kTextDataGet = 1;
    static constexpr int kTextDataSet = 2;
    static constexpr int kCommand = 3;
    static constexpr int kAction = 4;
    static constexpr int kViewRequest = 5;
    static constexpr int kComboBoxGet = 6;
    static constexpr int kComboBoxSet = 7;
    static constexpr int kBitEnumGet = 8;
    static constexpr int kBitEnumSet = 9;
    static constexpr int kViewActivated = 10;
    static constexpr int kGenericSet = 11;

    virtual ~CUIEventBase() = default;
    // Calls the handler of this event's family; get events call nothing and answer false.
    virtual bool Dispatch(IUIEventCallback& callback) = 0;

    int GetType() const { return m_type; }
    bool HasError() const { return m_error; }
    std::string GetErrorText() const { return m_errorText; }
    // Only the event's handler calls it.
    void SetError(const std::string& text);

protected:
    explicit CUIEventBase(int type) : m_type(type) {}
    CUIEventBase(const CUIEventBase&) = default;
    CUIEventBase& operator=(const CUIEventBase&) = default;

private:
    int m_type;
    bool m_error = false;
    std::string m_errorText;
};

// The base of a family: Handler is the IUIEventCallback member its events are dispatched to,
// nullptr for get events.
template <auto Handler> class CUIEventFamily : public CUIEventBase {
public:
    static constexpr auto kHandler = Handler;

protected:
    explicit CUIEventFamily(int type) : CUIEventBase(type) {}
};

// The event a raiser builds: the family with its constructors and Dispatch.
template <class Family> class CUIEventImpl final : public Family {
public:
    using Family::Family;

    bool Dispatch(IUIEventCallback& callback) override {
        if constexpr (Family::kHandler == nullptr) {
            return false; // get events are answered in place by the edit model
        } else {
            return (callback.*Family::kHandler)(*this);
        }
    }
};

// One entry of a combo box: its caption, its value as text and its value as a number.
struct CComboBoxChoice {
    std::string label;
    std::string value;
    std::int32_t number = 0;

    friend bool operator==(const CComboBoxChoice&, const CComboBoxChoice&) = default;
};

// The fields that several families share, each with its accessors.
namespace UIEventFields {

// The control that raised the event: its owner window, its id and its tag.
class Control {
public:
    int GetOwnerId() const { return m_ownerId; }
    int GetControlId() const { return m_controlId; }
    std::string GetTag() const { return m_tag; }

protected:
    Control(int ownerId, int controlId, std::string tag)
        : m_ownerId(ownerId), m_controlId(controlId), m_tag(std::move(tag)) {}

private:
    int m_ownerId;
    int m_controlId;
    std::string m_tag;
};

// A value that a control hands back; read only.
template <class T> class Value {
public:
    T GetValue() const { return m_value; }

protected:
    Value() = default;
    explicit Value(T value) : m_value(std::move(value)) {}
    void SetValue(const T& value) { m_value = value; }

private:
    T m_value{};
};

// The value a handler answers to a control that asks; starts empty (or 0).
template <class T> class AnsweredValue : public Value<T> {
public:
    using Value<T>::SetValue;

protected:
    AnsweredValue() = default;
};

// The commit flag of a set event (set: write to the DTM).
class Flag {
public:
    bool GetFlag() const { return m_flag; }

protected:
    explicit Flag(bool flag) : m_flag(flag) {}
    void SetFlag(bool flag) { m_flag = flag; }

private:
    bool m_flag;
};

// How a handler wants the control that asked to show its value.
class ControlState {
public:
    void SetEnabled(bool enabled) { m_enabled = enabled; }
    bool IsEnabled() const { return m_enabled; }
    void SetModified(bool modified) { m_modified = modified; }
    bool IsModified() const { return m_modified; }
    void MarkInconsistent() { m_inconsistent = true; }
    bool IsInconsistent() const { return m_inconsistent; }

protected:
    ControlState() = default;

private:
    bool m_enabled = true;
    bool m_modified = false;
    bool m_inconsistent = false;
};

} // namespace UIEventFields

// A control asks for its value and how to show it; nothing is dispatched.
template <int Type>
class CUIGetEvent : public CUIEventFamily<nullptr>,
                    public UIEventFields::Control,
                    public UIEventFields::ControlState {
public:
    CUIGetEvent(int ownerId, int controlId, std::string tag)
        : CUIEventFamily(Type), Control(ownerId, controlId, std::move(tag)) {}
};

// A control hands back its value with the commit flag.
template <int Type, auto Handler, class T>
class CUISetEvent : public CUIEventFamily<Handler>,
                    public UIEventFields::Control,
                    public UIEventFields::Value<T>,
                    public UIEventFields::Flag {
public:
    CUISetEvent(int ownerId, int controlId, std::string tag, T value, bool flag)
        : CUIEventFamily<Handler>(Type),
          Control(ownerId, controlId, std::move(tag)), UIEventFields::Value<T>(std::move(value)),
          Flag(flag) {}
};

// --- Type 1: a text control asks for its value -------------------------------------------

class CTextDataGetEvent : public CUIGetEvent<CUIEventBase::kTextDataGet>,
                          public UIEventFields::AnsweredValue<std::string> {
public:
    using CUIGetEvent::CUIGetEvent;

    std::string GetUnitText() const { return m_unitText; }
    void SetUnitText(const std::string& unitText) { m_unitText = unitText; }

private:
    std::string m_unitText;
};
using CTextDataGetEventImpl = CUIEventImpl<CTextDataGetEvent>;

// --- Types 2 and 11: a control hands back a text value -----------------------------------

// The value of a text control.
class CTextDataSetEvent : public CUISetEvent<CUIEventBase::kTextDataSet,
                                             &IUIEventCallback::OnTextDataSet, std::string> {
public:
    using CUISetEvent::CUISetEvent;
};
using CTextDataSetEventImpl = CUIEventImpl<CTextDataSetEvent>;

// The value of a control of a generic view, with the same fields as a text value.
class CGenericSetEvent
    : public CUISetEvent<CUIEventBase::kGenericSet, &IUIEventCallback::OnGenericSet, std::string> {
public:
    using CUISetEvent::CUISetEvent;
};
using CGenericSetEventImpl = CUIEventImpl<CGenericSetEvent>;

// --- Type 3: a button control was pressed ------------------------------------------------

// The flag starts set.
class CCommandEvent : public CUIEventFamily<&IUIEventCallback::OnCommand>,
                      public UIEventFields::Control,
                      public UIEventFields::Flag {
public:
    // The button control passes kCommand as `type`.
    CCommandEvent(int type, int ownerId, int controlId, std::string tag)
        : CUIEventFamily(type), Control(ownerId, controlId, std::move(tag)), Flag(true) {}

    using Flag::SetFlag;
};
using CCommandEventImpl = CUIEventImpl<CCommandEvent>;

// --- Type 4: a toolbar button or an action-area button was pressed -----------------------

// State: for a check-style toolbar button 0 when it is checked after the click, 1 when it is
// not; 2 for every other button.
class CActionEvent : public CUIEventFamily<&IUIEventCallback::OnAction> {
public:
    static constexpr int kStateChecked = 0;
    static constexpr int kStateUnchecked = 1;
    static constexpr int kStatePush = 2;

    explicit CActionEvent(int actionId) : CUIEventFamily(kAction), m_actionId(actionId) {}

    int GetActionId() const { return m_actionId; }
    int GetState() const { return m_state; }
    void SetState(int state) { m_state = state; }

private:
    int m_actionId;
    int m_state = kStatePush;
};
using CActionEventImpl = CUIEventImpl<CActionEvent>;

// --- Types 5 and 10: the controller asks for a view, and has shown one --------------------

template <int Type, auto Handler> class CUIViewEvent : public CUIEventFamily<Handler> {
public:
    explicit CUIViewEvent(int viewId) : CUIEventFamily<Handler>(Type), m_viewId(viewId) {}

    int GetViewId() const { return m_viewId; }

private:
    int m_viewId;
};

class CViewRequestEvent
    : public CUIViewEvent<CUIEventBase::kViewRequest, &IUIEventCallback::OnViewRequest> {
public:
    using CUIViewEvent::CUIViewEvent;
};
using CViewRequestEventImpl = CUIEventImpl<CViewRequestEvent>;

class CViewActivatedEvent
    : public CUIViewEvent<CUIEventBase::kViewActivated, &IUIEventCallback::OnViewActivated> {
public:
    using CUIViewEvent::CUIViewEvent;
};
using CViewActivatedEventImpl = CUIEventImpl<CViewActivatedEvent>;

// --- Types 6 and 7: a combo box asks for its choices, and hands back a selection ---------

class CComboBoxGetEvent : public CUIGetEvent<CUIEventBase::kComboBoxGet> {
public:
    using CUIGetEvent::CUIGetEvent;

    const std::vector<CComboBoxChoice>& GetChoiceCollection() const { return m_choices; }
    // Also records that a handler answered the choices.
    void SetChoiceCollection(const std::vector<CComboBoxChoice>& choices);
    // Whether a handler answered the choices (the combo box that raised the event reads it).
    bool AreChoicesSet() const { return m_choicesSet; }
    std::string GetSelectedValue() const { return m_selectedValue; }
    void SetSelectedValue(const std::string& value) { m_selectedValue = value; }

private:
    std::vector<CComboBoxChoice> m_choices;
    bool m_choicesSet = false;
    std::string m_selectedValue;
};
using CComboBoxGetEventImpl = CUIEventImpl<CComboBoxGetEvent>;

// `index` is the position of the selection in the combo box's list.
class CComboBoxSetEvent : public CUIEventFamily<&IUIEventCallback::OnComboBoxSet>,
                          public UIEventFields::Control {
public:
    CComboBoxSetEvent(int ownerId, int controlId, std::string tag, CComboBoxChoice selected,
                      int index)
        : CUIEventFamily(kComboBoxSet), Control(ownerId, controlId, std::move(tag)),
          m_selected(std::move(selected)), m_index(index) {}

    CComboBoxChoice GetSelectedChoice() const { return m_selected; }
    int GetIndex() const { return m_index; }

private:
    CComboBoxChoice m_selected;
    int m_index;
};
using CComboBoxSetEventImpl = CUIEventImpl<CComboBoxSetEvent>;

// --- Types 8 and 9: a bit-enumeration control asks for its bit mask, and hands it back ---

class CBitEnumGetEvent : public CUIGetEvent<CUIEventBase::kBitEnumGet>,
                         public UIEventFields::AnsweredValue<std::uint32_t> {
public:
    using CUIGetEvent::CUIGetEvent;
};
using CBitEnumGetEventImpl = CUIEventImpl<CBitEnumGetEvent>;

class CBitEnumSetEvent : public CUISetEvent<CUIEventBase::kBitEnumSet,
                                            &IUIEventCallback::OnBitEnumSet, std::uint32_t> {
public:
    using CUISetEvent::CUISetEvent;
};
using CBitEnumSetEventImpl = CUIEventImpl<CBitEnumSetEvent>;
