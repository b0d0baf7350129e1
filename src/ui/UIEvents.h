#pragma once

// The event objects through which windows ask the edit model for data and hand it changes.
//
// A raiser builds an event on its stack, sends it through the controller (SendEvent) and
// reads the results and the error once the call returns. The edit model answers get events
// in place; every other event calls back the matching typed handler of an IUIEventCallback
// through its own Dispatch (double dispatch). A handler reports a failure only with SetError.
// An event that nobody handled comes back with its initial values.
//
// Each family is an abstract class declaring its accessors and an implementation class of
// the same name with `Impl` appended that holds the fields. Getters answer copies; "Mark"
// sets a flag for good.

#include <cstdint>
#include <string>
#include <vector>

class IUIEventCallback;

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

// One entry of a combo box: its caption, its value as text and its value as a number.
struct CComboBoxChoice {
    std::string label;
    std::string value;
    std::int32_t number = 0;

    friend bool operator==(const CComboBoxChoice&, const CComboBoxChoice&) = default;
};

// --- Type 1: a text control asks for its value -------------------------------------------

class CTextDataGetEvent : public CUIEventBase {
public:
    bool Dispatch(IUIEventCallback& callback) override;

    virtual int GetOwnerId() const = 0;
    virtual int GetControlId() const = 0;
    virtual std::string GetTag() const = 0;
    virtual std::string GetValue() const = 0;
    virtual void SetValue(const std::string& value) = 0;
    virtual std::string GetUnitText() const = 0;
    virtual void SetUnitText(const std::string& unitText) = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool IsEnabled() const = 0;
    virtual void SetModified(bool modified) = 0;
    virtual bool IsModified() const = 0;
    virtual void MarkInconsistent() = 0;
    virtual bool IsInconsistent() const = 0;

protected:
    CTextDataGetEvent() : CUIEventBase(kTextDataGet) {}
};

class CTextDataGetEventImpl final : public CTextDataGetEvent {
public:
    CTextDataGetEventImpl(int ownerId, int controlId, std::string tag);

    int GetOwnerId() const override { return m_ownerId; }
    int GetControlId() const override { return m_controlId; }
    std::string GetTag() const override { return m_tag; }
    std::string GetValue() const override { return m_value; }
    void SetValue(const std::string& value) override { m_value = value; }
    std::string GetUnitText() const override { return m_unitText; }
    void SetUnitText(const std::string& unitText) override { m_unitText = unitText; }
    void SetEnabled(bool enabled) override { m_enabled = enabled; }
    bool IsEnabled() const override { return m_enabled; }
    void SetModified(bool modified) override { m_modified = modified; }
    bool IsModified() const override { return m_modified; }
    void MarkInconsistent() override { m_inconsistent = true; }
    bool IsInconsistent() const override { return m_inconsistent; }

private:
    int m_ownerId;
    int m_controlId;
    std::string m_tag;
    std::string m_value;
    std::string m_unitText;
    bool m_enabled = true;
    bool m_modified = false;
    bool m_inconsistent = false;
};

// --- Types 2 and 11: a control hands back a text value -----------------------------------

// The value of a text control; `flag` is the commit flag (set: write to the DTM).
class CTextDataSetEvent : public CUIEventBase {
public:
    bool Dispatch(IUIEventCallback& callback) override;

    virtual int GetOwnerId() const = 0;
    virtual int GetControlId() const = 0;
    virtual std::string GetTag() const = 0;
    virtual std::string GetValue() const = 0;
    virtual bool GetFlag() const = 0;

protected:
    CTextDataSetEvent() : CUIEventBase(kTextDataSet) {}
};

class CTextDataSetEventImpl final : public CTextDataSetEvent {
public:
    CTextDataSetEventImpl(int ownerId, int controlId, std::string tag, std::string value,
                          bool flag);

    int GetOwnerId() const override { return m_ownerId; }
    int GetControlId() const override { return m_controlId; }
    std::string GetTag() const override { return m_tag; }
    std::string GetValue() const override { return m_value; }
    bool GetFlag() const override { return m_flag; }

private:
    int m_ownerId;
    int m_controlId;
    std::string m_tag;
    std::string m_value;
    bool m_flag;
};

// The value of a control of a generic view, with the same fields as a text value.
class CGenericSetEvent : public CUIEventBase {
public:
    bool Dispatch(IUIEventCallback& callback) override;

    virtual int GetOwnerId() const = 0;
    virtual int GetControlId() const = 0;
    virtual std::string GetTag() const = 0;
    virtual std::string GetValue() const = 0;
    virtual bool GetFlag() const = 0;

protected:
    CGenericSetEvent() : CUIEventBase(kGenericSet) {}
};

class CGenericSetEventImpl final : public CGenericSetEvent {
public:
    CGenericSetEventImpl(int ownerId, int controlId, std::string tag, std::string value, bool flag);

    int GetOwnerId() const override { return m_ownerId; }
    int GetControlId() const override { return m_controlId; }
    std::string GetTag() const override { return m_tag; }
    std::string GetValue() const override { return m_value; }
    bool GetFlag() const override { return m_flag; }

private:
    int m_ownerId;
    int m_controlId;
    std::string m_tag;
    std::string m_value;
    bool m_flag;
};

// --- Type 3: a button control was pressed ------------------------------------------------

class CCommandEvent : public CUIEventBase {
public:
    bool Dispatch(IUIEventCallback& callback) override;

    virtual int GetOwnerId() const = 0;
    virtual int GetControlId() const = 0;
    virtual std::string GetTag() const = 0;
    virtual void SetFlag(bool flag) = 0;
    virtual bool GetFlag() const = 0;

protected:
    // The button control passes kCommand as `type`.
    explicit CCommandEvent(int type) : CUIEventBase(type) {}
};

class CCommandEventImpl final : public CCommandEvent {
public:
    CCommandEventImpl(int type, int ownerId, int controlId, std::string tag);

    int GetOwnerId() const override { return m_ownerId; }
    int GetControlId() const override { return m_controlId; }
    std::string GetTag() const override { return m_tag; }
    void SetFlag(bool flag) override { m_flag = flag; }
    bool GetFlag() const override { return m_flag; }

private:
    int m_ownerId;
    int m_controlId;
    std::string m_tag;
    bool m_flag = true;
};

// --- Type 4: a toolbar button or an action-area button was pressed -----------------------

// State: for a check-style toolbar button 0 when it is checked after the click, 1 when it is
// not; 2 for every other button.
class CActionEvent : public CUIEventBase {
public:
    static constexpr int kStateChecked = 0;
    static constexpr int kStateUnchecked = 1;
    static constexpr int kStatePush = 2;

    bool Dispatch(IUIEventCallback& callback) override;

    virtual int GetActionId() const = 0;
    virtual int GetState() const = 0;
    virtual void SetState(int state) = 0;

protected:
    CActionEvent() : CUIEventBase(kAction) {}
};

class CActionEventImpl final : public CActionEvent {
public:
    explicit CActionEventImpl(int actionId) : m_actionId(actionId) {}

    int GetActionId() const override { return m_actionId; }
    int GetState() const override { return m_state; }
    void SetState(int state) override { m_state = state; }

private:
    int m_actionId;
    int m_state = kStatePush;
};

// --- Types 5 and 10: the controller asks for a view, and has shown one --------------------

class CViewRequestEvent : public CUIEventBase {
public:
    bool Dispatch(IUIEventCallback& callback) override;

    virtual int GetViewId() const = 0;

protected:
    CViewRequestEvent() : CUIEventBase(kViewRequest) {}
};

class CViewRequestEventImpl final : public CViewRequestEvent {
public:
    explicit CViewRequestEventImpl(int viewId) : m_viewId(viewId) {}

    int GetViewId() const override { return m_viewId; }

private:
    int m_viewId;
};

class CViewActivatedEvent : public CUIEventBase {
public:
    bool Dispatch(IUIEventCallback& callback) override;

    virtual int GetViewId() const = 0;

protected:
    CViewActivatedEvent() : CUIEventBase(kViewActivated) {}
};

class CViewActivatedEventImpl final : public CViewActivatedEvent {
public:
    explicit CViewActivatedEventImpl(int viewId) : m_viewId(viewId) {}

    int GetViewId() const override { return m_viewId; }

private:
    int m_viewId;
};

// --- Types 6 and 7: a combo box asks for its choices, and hands back a selection ---------

class CComboBoxGetEvent : public CUIEventBase {
public:
    bool Dispatch(IUIEventCallback& callback) override;

    virtual int GetOwnerId() const = 0;
    virtual int GetControlId() const = 0;
    virtual std::string GetTag() const = 0;
    virtual const std::vector<CComboBoxChoice>& GetChoiceCollection() const = 0;
    // Also sets choicesSet.
    virtual void SetChoiceCollection(const std::vector<CComboBoxChoice>& choices) = 0;
    virtual std::string GetSelectedValue() const = 0;
    virtual void SetSelectedValue(const std::string& value) = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool IsEnabled() const = 0;
    virtual void SetModified(bool modified) = 0;
    virtual bool IsModified() const = 0;
    virtual void MarkInconsistent() = 0;
    virtual bool IsInconsistent() const = 0;

protected:
    CComboBoxGetEvent() : CUIEventBase(kComboBoxGet) {}
};

class CComboBoxGetEventImpl final : public CComboBoxGetEvent {
public:
    CComboBoxGetEventImpl(int ownerId, int controlId, std::string tag);

    int GetOwnerId() const override { return m_ownerId; }
    int GetControlId() const override { return m_controlId; }
    std::string GetTag() const override { return m_tag; }
    const std::vector<CComboBoxChoice>& GetChoiceCollection() const override { return m_choices; }
    void SetChoiceCollection(const std::vector<CComboBoxChoice>& choices) override;
    std::string GetSelectedValue() const override { return m_selectedValue; }
    void SetSelectedValue(const std::string& value) override { m_selectedValue = value; }
    void SetEnabled(bool enabled) override { m_enabled = enabled; }
    bool IsEnabled() const override { return m_enabled; }
    void SetModified(bool modified) override { m_modified = modified; }
    bool IsModified() const override { return m_modified; }
    void MarkInconsistent() override { m_inconsistent = true; }
    bool IsInconsistent() const override { return m_inconsistent; }

    // Whether a handler answered the choices (the combo box control, which raised the event,
    // reads it here rather than through the family's accessors).
    bool AreChoicesSet() const { return m_choicesSet; }

private:
    int m_ownerId;
    int m_controlId;
    std::string m_tag;
    std::vector<CComboBoxChoice> m_choices;
    bool m_choicesSet = false;
    std::string m_selectedValue;
    bool m_enabled = true;
    bool m_modified = false;
    bool m_inconsistent = false;
};

// `index` is the position of the selection in the combo box's list.
class CComboBoxSetEvent : public CUIEventBase {
public:
    bool Dispatch(IUIEventCallback& callback) override;

    virtual int GetOwnerId() const = 0;
    virtual int GetControlId() const = 0;
    virtual std::string GetTag() const = 0;
    virtual CComboBoxChoice GetSelectedChoice() const = 0;
    virtual int GetIndex() const = 0;

protected:
    CComboBoxSetEvent() : CUIEventBase(kComboBoxSet) {}
};

class CComboBoxSetEventImpl final : public CComboBoxSetEvent {
public:
    CComboBoxSetEventImpl(int ownerId, int controlId, std::string tag, CComboBoxChoice selected,
                          int index);

    int GetOwnerId() const override { return m_ownerId; }
    int GetControlId() const override { return m_controlId; }
    std::string GetTag() const override { return m_tag; }
    CComboBoxChoice GetSelectedChoice() const override { return m_selected; }
    int GetIndex() const override { return m_index; }

private:
    int m_ownerId;
    int m_controlId;
    std::string m_tag;
    CComboBoxChoice m_selected;
    int m_index;
};

// --- Types 8 and 9: a bit-enumeration control asks for its bit mask, and hands it back ---

class CBitEnumGetEvent : public CUIEventBase {
public:
    bool Dispatch(IUIEventCallback& callback) override;

    virtual int GetOwnerId() const = 0;
    virtual int GetControlId() const = 0;
    virtual std::string GetTag() const = 0;
    virtual std::uint32_t GetValue() const = 0;
    virtual void SetValue(std::uint32_t value) = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool IsEnabled() const = 0;
    virtual void SetModified(bool modified) = 0;
    virtual bool IsModified() const = 0;
    virtual void MarkInconsistent() = 0;
    virtual bool IsInconsistent() const = 0;

protected:
    CBitEnumGetEvent() : CUIEventBase(kBitEnumGet) {}
};

class CBitEnumGetEventImpl final : public CBitEnumGetEvent {
public:
    CBitEnumGetEventImpl(int ownerId, int controlId, std::string tag);

    int GetOwnerId() const override { return m_ownerId; }
    int GetControlId() const override { return m_controlId; }
    std::string GetTag() const override { return m_tag; }
    std::uint32_t GetValue() const override { return m_value; }
    void SetValue(std::uint32_t value) override { m_value = value; }
    void SetEnabled(bool enabled) override { m_enabled = enabled; }
    bool IsEnabled() const override { return m_enabled; }
    void SetModified(bool modified) override { m_modified = modified; }
    bool IsModified() const override { return m_modified; }
    void MarkInconsistent() override { m_inconsistent = true; }
    bool IsInconsistent() const override { return m_inconsistent; }

private:
    int m_ownerId;
    int m_controlId;
    std::string m_tag;
    std::uint32_t m_value = 0;
    bool m_enabled = true;
    bool m_modified = false;
    bool m_inconsistent = false;
};

// `flag` is the commit flag.
class CBitEnumSetEvent : public CUIEventBase {
public:
    bool Dispatch(IUIEventCallback& callback) override;

    virtual int GetOwnerId() const = 0;
    virtual int GetControlId() const = 0;
    virtual std::string GetTag() const = 0;
    virtual std::uint32_t GetValue() const = 0;
    virtual bool GetFlag() const = 0;

protected:
    CBitEnumSetEvent() : CUIEventBase(kBitEnumSet) {}
};

class CBitEnumSetEventImpl final : public CBitEnumSetEvent {
public:
    CBitEnumSetEventImpl(int ownerId, int controlId, std::string tag, std::uint32_t value,
                         bool flag);

    int GetOwnerId() const override { return m_ownerId; }
    int GetControlId() const override { return m_controlId; }
    std::string GetTag() const override { return m_tag; }
    std::uint32_t GetValue() const override { return m_value; }
    bool GetFlag() const override { return m_flag; }

private:
    int m_ownerId;
    int m_controlId;
    std::string m_tag;
    std::uint32_t m_value;
    bool m_flag;
};

// --- The handler side ---------------------------------------------------------------------

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
