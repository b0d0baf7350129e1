#pragma once

#include "controls/FdtControlBase.h"
#include "ui/UIEvents.h"

#include <QPointer>

#include <vector>

#include <QComboBox>

// A combo box listing the choices of an enumeration. Its get event brings the choices (the
// description's fixed choices stand when it brings none) and the current caption; choosing
// an entry raises a set event with the chosen choice.
class CFdtComboBoxControl : public CFdtControlBase {
public:
    static constexpr int kDefaultWidth = 160;

    using CFdtControlBase::CFdtControlBase;

    std::string GetTypeName() const override { return "FdtComboBoxControl"; }
    bool IsDataBound() const override { return true; }
    void RequestData() override;

    // The description's choices (caption and tag), listed until a get event brings others.
    void SetFixedChoices(std::vector<CComboBoxChoice> choices);
    const std::vector<CComboBoxChoice>& GetChoices() const { return m_choices; }
    std::string GetWindowText() const override;
    QComboBox* GetComboBox() const { return m_combo; }

protected:
    QWidget* CreateField(QWidget* frame) override;
    QSize DefaultFieldSize() const override;
    bool IsEditable() const override { return true; }
    // The choices of the document's ChoiceCollection, the current value and visibility.
    void UpdateKindFromControlData(const xml::Node& controlData) override;

private:
    void ShowChoices(const std::vector<CComboBoxChoice>& choices);
    // Selects the entry of `caption`; none when no entry reads so.
    void Select(const std::string& caption);
    void OnActivated(int index);

    QPointer<QComboBox> m_combo;
    std::vector<CComboBoxChoice> m_choices;
};
