#include "controls/FdtBitEnumControl.h"

#include "model/Conversions.h"
#include "ui/BlockEvents.h"
#include "ui/UIEvents.h"
#include "xml/Xml.h"

#include <QGridLayout>

#include <algorithm>

CBitEnumCheckBox::CBitEnumCheckBox(const SBitEnumBit& bit, QWidget* parent)
    : QCheckBox(QString::fromStdString(bit.label), parent), m_mask(bit.mask) {}

CBitEnumerator::CBitEnumerator(const SBitEnumBit& bit, QWidget* parent)
    : CBitEnumCheckBox(bit, parent) {
    setToolTip(QString::fromStdString(bit.tooltip));
}

QWidget* CFdtBitEnumControl::CreateField(QWidget* frame) {
    m_box = new QWidget(frame);
    auto* layout = new QGridLayout(m_box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setHorizontalSpacing(kColumnGap);
    layout->setVerticalSpacing(kSpacing);
    return m_box;
}

std::vector<CBitEnumCheckBox*> CFdtBitEnumControl::GetCheckBoxes() const {
    std::vector<CBitEnumCheckBox*> boxes;
    if (m_box) {
        for (CBitEnumCheckBox* box :
             m_box->findChildren<CBitEnumCheckBox*>(Qt::FindDirectChildrenOnly)) {
            boxes.push_back(box);
        }
    }
    return boxes;
}

QSize CFdtBitEnumControl::DefaultFieldSize() const {
    const std::vector<CBitEnumCheckBox*> boxes = GetCheckBoxes();
    if (boxes.empty()) {
        return {kDefaultWidth, QCheckBox().sizeHint().height()};
    }
    int columnWidth = 0;
    int rowHeight = 0;
    for (const CBitEnumCheckBox* box : boxes) {
        columnWidth = std::max(columnWidth, box->sizeHint().width());
        rowHeight = std::max(rowHeight, box->sizeHint().height());
    }
    const int columns = std::min<int>(kColumns, std::ssize(boxes));
    const int rows = (std::ssize(boxes) + kColumns - 1) / kColumns;
    return {std::max(kDefaultWidth, columns * columnWidth + (columns - 1) * kColumnGap),
            rows * rowHeight + (rows - 1) * kSpacing};
}

void CFdtBitEnumControl::SetBits(const std::vector<SBitEnumBit>& bits) {
    if (!m_box || (bits == m_bits && !GetCheckBoxes().empty())) {
        m_bits = bits;
        return;
    }
    m_bits = bits;
    CBlockEvents block(EventsBlockedFlag());
    for (CBitEnumCheckBox* box : GetCheckBoxes()) {
        delete box;
    }
    auto* grid = static_cast<QGridLayout*>(m_box->layout());
    for (std::size_t i = 0; i < m_bits.size(); ++i) {
        const SBitEnumBit& bit = m_bits[i];
        CBitEnumCheckBox* box = MakeCheckBox(bit, m_box);
        grid->addWidget(box, static_cast<int>(i) / kColumns, static_cast<int>(i) % kColumns);
        QObject::connect(box, &QCheckBox::toggled, box,
                         [this, mask = bit.mask](bool checked) { OnToggled(mask, checked); });
    }
    ShowValue(m_value);
    Arrange();
}

CBitEnumCheckBox* CFdtBitEnumControl::MakeCheckBox(const SBitEnumBit& bit, QWidget* parent) {
    return new CBitEnumCheckBox(bit, parent);
}

void CFdtBitEnumControl::ShowValue(std::uint32_t value) {
    m_value = value;
    CBlockEvents block(EventsBlockedFlag());
    for (CBitEnumCheckBox* box : GetCheckBoxes()) {
        box->setChecked((value & box->GetMask()) != 0);
    }
}

void CFdtBitEnumControl::RequestData() {
    CBitEnumGetEventImpl event(GetOwnerId(), GetControlId(), GetTag());
    PrepareGetEvent(event);
    bool handled = false;
    if (Raise(event, &handled) || !handled) {
        ShowValue(0);
        SetAvailable(false);
        return;
    }
    ShowValue(event.GetValue());
    TakeGetAnswer(event);
}

void CFdtBitEnumControl::UpdateKindFromControlData(const xml::Node& controlData) {
    std::vector<SBitEnumBit> bits;
    for (const xml::Node& bit : controlData.SelectAll(".//BitEnumeratorList/BitEnumerator")) {
        bits.push_back({CConversions::to_uint32(bit.Attribute("@value")), bit.Attribute("@label"),
                        bit.Attribute("@tooltip")});
    }
    if (!bits.empty()) {
        SetBits(bits);
    }
    if (const std::string value = controlData.Attribute("@value"); !value.empty()) {
        ShowValue(CConversions::to_uint32(value));
    }
}

void CFdtBitEnumControl::OnToggled(std::uint32_t mask, bool checked) {
    if (AreEventsBlocked()) {
        return;
    }
    const std::uint32_t value = checked ? (m_value | mask) : (m_value & ~mask);
    CBitEnumSetEventImpl event(GetOwnerId(), GetControlId(), GetTag(), value, true);
    if (RaiseSet(event)) {
        m_value = value;
    }
}

CBitEnumCheckBox* CFdtBitEnumeratedControl::MakeCheckBox(const SBitEnumBit& bit, QWidget* parent) {
    return new CBitEnumerator(bit, parent);
}
