#pragma once

// A fake owner of data-bound controls that logs every event it is sent and answers through a
// function the test sets, and the making of a control from the text of its description.

#include "controls/FdtControlBase.h"
#include "controls/FdtControlFactory.h"
#include "controls/FdtControlOwner.h"
#include "ui/Guard.h"
#include "ui/TextProvider.h"
#include "ui/UIEvents.h"
#include "xml/Xml.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using Texts = std::vector<std::string>;

class CFakeOwner : public IFdtControlOwner {
public:
    // Answers whether a handler took the event; the default takes every event as it is.
    std::function<bool(CUIEventBase&)> answer = [](CUIEventBase&) { return true; };
    Texts events; // "<type> <control id> <value>", one a sent event
    bool editingAllowed = true;

    bool SendEvent(CUIEventBase& event) override {
        events.push_back(Describe(event));
        return answer(event);
    }
    int GetOwnerId() const override { return 77; }
    bool IsEditingAllowed() const override { return editingAllowed; }

    static std::string Describe(const CUIEventBase& event) {
        const std::string type = std::to_string(event.GetType());
        if (const auto* text = dynamic_cast<const CTextDataSetEvent*>(&event)) {
            return type + " " + std::to_string(text->GetControlId()) + " " + text->GetValue();
        }
        if (const auto* bits = dynamic_cast<const CBitEnumSetEvent*>(&event)) {
            return type + " " + std::to_string(bits->GetControlId()) + " " +
                   std::to_string(bits->GetValue());
        }
        if (const auto* combo = dynamic_cast<const CComboBoxSetEvent*>(&event)) {
            return type + " " + std::to_string(combo->GetControlId()) + " " +
                   combo->GetSelectedChoice().label;
        }
        if (const auto* command = dynamic_cast<const CCommandEvent*>(&event)) {
            return type + " " + std::to_string(command->GetControlId());
        }
        if (const auto* action = dynamic_cast<const CActionEvent*>(&event)) {
            return type + " " + std::to_string(action->GetActionId());
        }
        if (const auto* control = dynamic_cast<const UIEventFields::Control*>(&event)) {
            return type + " " + std::to_string(control->GetControlId());
        }
        return type;
    }
};

// Collects what the guards report while it lives.
class CReports {
public:
    CReports()
        : m_previous(SetGuardReporter([this](const std::string& where, const std::string& error) {
              texts.push_back(where + ": " + error);
          })) {}
    ~CReports() { SetGuardReporter(m_previous); }
    CReports(const CReports&) = delete;
    CReports& operator=(const CReports&) = delete;

    Texts texts;

private:
    GuardReporter m_previous;
};

// The control of `element` (the text of one control description) in `parent`, through the
// process's factory; the description document enables icon tooltips when asked to.
template <class Control = CFdtControlBase>
std::unique_ptr<Control> MakeControl(const std::string& element, QWidget& parent,
                                     IFdtControlOwner& owner, ITextResource* texts,
                                     bool iconTooltips = false) {
    const xml::Document document = xml::Document::Parse(
        "<GenericView>" +
        std::string(iconTooltips ? "<ApplicationArea enableIconTooltip='1'/>" : "") + element +
        "</GenericView>");
    std::unique_ptr<IFdtControl> control = CFdtControlFactory::Instance().CreateControl(
        document.Root().Children().back(), &parent, &owner, texts);
    auto* typed = dynamic_cast<Control*>(control.get());
    if (typed == nullptr) {
        return nullptr;
    }
    control.release();
    return std::unique_ptr<Control>(typed);
}

// The `ControlData` element of a document with these attributes.
inline xml::Node ControlData(const std::string& attributes, const std::string& children = {}) {
    return xml::Document::Parse("<ControlData " + attributes + ">" + children + "</ControlData>")
        .Root();
}
