#pragma once

#include "controls/FdtControlBase.h"

#include <QCheckBox>
#include <QPointer>

#include <cstdint>
#include <string>
#include <vector>

// One bit of a bit enumeration: its mask, label and tooltip.
struct SBitEnumBit {
    std::uint32_t mask = 0;
    std::string label;
    std::string tooltip;

    friend bool operator==(const SBitEnumBit&, const SBitEnumBit&) = default;
};

// The check box of one bit.
class CBitEnumCheckBox : public QCheckBox {
public:
    CBitEnumCheckBox(const SBitEnumBit& bit, QWidget* parent);
    std::uint32_t GetMask() const { return m_mask; }

private:
    std::uint32_t m_mask;
};

// The check box of one bit of a bit-enumerated control, with the bit's tooltip.
class CBitEnumerator : public CBitEnumCheckBox {
public:
    CBitEnumerator(const SBitEnumBit& bit, QWidget* parent);
};

// A bit enumeration as one check box per bit, in two columns beside the label. Its
// get event brings the value (the bits come from the description, or from the control
// data's BitEnumeratorList); toggling a check box raises a set event with the new value.
class CFdtBitEnumControl : public CFdtControlBase {
public:
    static constexpr int kDefaultWidth = 200;
    static constexpr int kSpacing = 2;
    static constexpr int kColumns = 2;
    static constexpr int kColumnGap = 12;

    using CFdtControlBase::CFdtControlBase;

    std::string GetTypeName() const override { return "FdtBitEnumControl"; }
    bool IsDataBound() const override { return true; }
    void RequestData() override;

    void SetBits(const std::vector<SBitEnumBit>& bits);
    const std::vector<SBitEnumBit>& GetBits() const { return m_bits; }
    std::uint32_t GetValue() const { return m_value; }
    std::vector<CBitEnumCheckBox*> GetCheckBoxes() const;

protected:
    QWidget* CreateField(QWidget* frame) override;
    QSize DefaultFieldSize() const override;
    bool IsEditable() const override { return true; }
    void UpdateKindFromControlData(const xml::Node& controlData) override;
    virtual CBitEnumCheckBox* MakeCheckBox(const SBitEnumBit& bit, QWidget* parent);

private:
    void ShowValue(std::uint32_t value);
    void OnToggled(std::uint32_t mask, bool checked);

    QPointer<QWidget> m_box;
    std::vector<SBitEnumBit> m_bits;
    std::uint32_t m_value = 0;
};

// The bit enumeration whose bits carry their own tooltips.
class CFdtBitEnumeratedControl : public CFdtBitEnumControl {
public:
    using CFdtBitEnumControl::CFdtBitEnumControl;

    std::string GetTypeName() const override { return "FdtBitEnumeratedControl"; }

protected:
    CBitEnumCheckBox* MakeCheckBox(const SBitEnumBit& bit, QWidget* parent) override;
};
