#include "controls/FdtControlBase.h"

#include "controls/FdtControlOwner.h"
#include "ui/Guard.h"
#include "ui/NavigationArea.h"
#include "ui/SharedIcons.h"
#include "ui/TextResource.h"
#include "ui/UIEvents.h"
#include "xml/Xml.h"

#include <QLabel>
#include <QPalette>
#include <QWidget>

#include <algorithm>

namespace {

// The field's background while its value is refused.
const QColor kErrorBackground(255, 228, 225);

QString ToQString(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

CFdtControlBase::CFdtControlBase(const SControlSetup& setup)
    : m_owner(setup.owner), m_textProvider(setup.textProvider), m_controlId(setup.controlId),
      m_iconTooltips(setup.iconTooltips) {}

CFdtControlBase::~CFdtControlBase() {
    // The frame goes with the control, unless its parent took it already.
    delete m_frame.data();
}

void CFdtControlBase::Create(QWidget* parent, const QPoint& location, const QSize& fieldSize) {
    if (m_frame) {
        return;
    }
    m_frame = new QWidget(parent);
    m_frame->setObjectName(QStringLiteral("control%1").arg(m_controlId));
    m_labelWindow = new QLabel(m_frame);
    m_labelWindow->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_field = CreateField(m_frame);
    m_unitWindow = new QLabel(m_frame);
    m_stateIcon = new QLabel(m_frame);
    m_stateIcon->setFixedSize(kIconSize, kIconSize);
    m_stateIcon->hide();
    if (m_field && HasSideLabel()) {
        m_labelWindow->setBuddy(m_field);
    }
    m_fieldSize = fieldSize;
    m_frame->move(location);
    Arrange();
    m_frame->show();
}

void CFdtControlBase::SetOverwriteSize(int width, int height) {
    m_overwriteWidth = width;
    m_overwriteHeight = height;
    Arrange();
}

void CFdtControlBase::SetLabelLines(int lines) {
    m_labelLines = std::max(1, lines);
    if (m_labelWindow) {
        m_labelWindow->setWordWrap(m_labelLines > 1);
    }
    Arrange();
}

void CFdtControlBase::SetEnabled(bool enabled) {
    m_enabled = enabled;
    ApplyAccess();
}

void CFdtControlBase::SetLabel(const std::string& label) {
    m_label = label;
    if (m_labelWindow) {
        m_labelWindow->setText(ToQString(label));
    }
    LabelChanged();
    Arrange();
}

void CFdtControlBase::SetUnit(const std::string& unit) {
    m_unit = unit;
    if (m_unitWindow) {
        m_unitWindow->setText(ToQString(unit));
    }
    Arrange();
}

int CFdtControlBase::GetNaturalLabelWidth() const {
    if (!m_labelWindow || m_label.empty() || !HasSideLabel()) {
        return 0;
    }
    const QFontMetrics metrics = m_labelWindow->fontMetrics();
    const int width = metrics.horizontalAdvance(ToQString(m_label)) + 2;
    // A label of several lines wraps: a share of the text per line, with room for the word
    // that does not fit.
    return m_labelLines > 1 ? width / m_labelLines + 4 * metrics.averageCharWidth() : width;
}

void CFdtControlBase::SetLabelWidth(int width) {
    m_labelWidth = width;
    Arrange();
}

// --- State -----------------------------------------------------------------------------------

bool CFdtControlBase::IsModified(const xml::Node& controlData) {
    return controlData.Attribute("@modified") == "1";
}

bool CFdtControlBase::IsNotAvailable(const xml::Node& controlData) {
    return controlData.Attribute("@available") == "0";
}

bool CFdtControlBase::IsRefreshing(const xml::Node& controlData) {
    return controlData.Attribute("@refreshing") == "1";
}

std::optional<std::string> CFdtControlBase::SemanticError(const xml::Node& controlData) const {
    const std::string text = controlData.Attribute("@semanticError");
    if (text.empty() || text == "0") {
        return std::nullopt;
    }
    // A bare flag names no error of its own.
    if (text == "1") {
        return m_textProvider ? m_textProvider->GetText(kTextUnknownError).toStdString()
                              : std::string("Unknown validation error");
    }
    return text;
}

void CFdtControlBase::UpdateFromControlData(const xml::Node& controlData) {
    if (controlData.IsNull()) {
        return;
    }
    m_dataEnabled = controlData.Attribute("@enabled", "1") == "1";
    m_available = !IsNotAvailable(controlData);
    m_modified = IsModified(controlData);
    m_refreshing = IsRefreshing(controlData);
    m_inconsistent = controlData.Attribute("@inconsistentFlag") == "1";
    if (const std::optional<std::string> error = SemanticError(controlData)) {
        m_semanticError = true;
        m_semanticErrorText = *error;
    } else {
        m_semanticError = false;
        m_semanticErrorText.clear();
    }
    if (const std::string tooltip = controlData.Attribute("@tooltip"); !tooltip.empty()) {
        m_fieldTooltip = tooltip;
    }
    if (const std::string unit = controlData.Attribute("@unit"); !unit.empty()) {
        SetUnit(unit);
    }
    if (const std::string label = controlData.Attribute("@label"); !label.empty()) {
        SetLabel(label);
    }
    UpdateKindFromControlData(controlData);
    ApplyAccess();
    ShowState();
}

int CFdtControlBase::GetState() const {
    if (!m_available) {
        return kStateNotAvailable;
    }
    if (m_refreshing) {
        return kStateRefreshing;
    }
    if (m_semanticError || m_inconsistent) {
        return kStateInvalid;
    }
    return m_modified ? kStateModified : kStateNormal;
}

std::string CFdtControlBase::GetStateTooltip(int state) const {
    std::uint32_t textId = 0;
    switch (state) {
    case kStateModified:
        textId = kTextModified;
        break;
    case kStateRefreshing:
        textId = kTextRefreshing;
        break;
    case kStateNotAvailable:
        textId = kTextNotAvailable;
        break;
    default:
        return {};
    }
    return m_textProvider ? m_textProvider->GetText(textId).toStdString() : std::string();
}

void CFdtControlBase::PrepareGetEvent(UIEventFields::ControlState& event) const {
    event.SetEnabled(m_dataEnabled);
}

void CFdtControlBase::TakeGetAnswer(const UIEventFields::ControlState& answer) {
    m_dataEnabled = answer.IsEnabled();
    m_modified = answer.IsModified();
    m_inconsistent = answer.IsInconsistent();
    m_available = true;
    ApplyAccess();
    ShowState();
}

void CFdtControlBase::EnterSemanticError(const std::string& text) {
    m_semanticError = true;
    m_semanticErrorText = text;
    ShowState();
}

void CFdtControlBase::ClearSemanticError() {
    m_semanticError = false;
    m_semanticErrorText.clear();
    ShowState();
}

void CFdtControlBase::SetAvailable(bool available) {
    m_available = available;
    ApplyAccess();
    ShowState();
}

void CFdtControlBase::SetVisible(bool visible) {
    if (m_frame) {
        m_frame->setVisible(visible);
    }
}

void CFdtControlBase::ApplyAccess() {
    if (!m_field) {
        return;
    }
    const bool allowed = !IsEditable() || m_owner == nullptr || m_owner->IsEditingAllowed();
    m_field->setEnabled(m_enabled && m_dataEnabled && m_available && allowed);
}

void CFdtControlBase::ShowState() {
    if (!m_stateIcon) {
        return;
    }
    const int state = GetState();
    const bool shown = IsDataBound() && state != kStateNormal;
    const int icon = CNavigationArea::kStateIcons[static_cast<std::size_t>(state)];
    m_stateIcon->setPixmap(CSharedIcons::Instance().GetIcon(icon).pixmap(kIconSize, kIconSize));
    const std::string tip = state == kStateInvalid ? m_semanticErrorText : GetStateTooltip(state);
    m_stateIcon->setToolTip(m_iconTooltips ? ToQString(tip) : QString());
    m_stateIcon->setVisible(shown);
    if (m_field) {
        // A refused value is marked in the field itself, with the reason as its tip.
        QPalette palette; // an empty palette: the field's inherited colours
        if (m_semanticError) {
            palette = m_frame->palette();
            palette.setColor(QPalette::Base, kErrorBackground);
        }
        m_field->setPalette(palette);
        m_field->setToolTip(ToQString(m_semanticError ? m_semanticErrorText : m_fieldTooltip));
    }
    if (m_owner != nullptr) {
        m_owner->OnControlStateChanged();
    }
}

// --- Events ----------------------------------------------------------------------------------

int CFdtControlBase::GetOwnerId() const {
    return m_owner ? m_owner->GetOwnerId() : 0;
}

bool CFdtControlBase::RaiseSet(CUIEventBase& event) {
    if (const std::optional<std::string> error = Raise(event)) {
        EnterSemanticError(*error);
        return false;
    }
    ClearSemanticError();
    return true;
}

std::optional<std::string> CFdtControlBase::Raise(CUIEventBase& event, bool* handled) {
    bool taken = false;
    std::optional<std::string> error;
    if (m_owner != nullptr) {
        error = CaughtError([&] { taken = m_owner->SendEvent(event); });
        if (error) {
            ReportGuardError("data-bound control",
                             "control " + std::to_string(m_controlId) + ": " + *error);
            taken = false;
        }
    }
    if (handled != nullptr) {
        *handled = taken;
    }
    if (!error && event.HasError()) {
        error = event.GetErrorText();
    }
    return error;
}

// --- Geometry --------------------------------------------------------------------------------

QSize CFdtControlBase::DefaultFieldSize() const {
    return m_field ? m_field->sizeHint() : QSize();
}

QSize CFdtControlBase::FieldSize() const {
    const QSize natural = DefaultFieldSize();
    int width = m_fieldSize.width() > 0 ? m_fieldSize.width() : natural.width();
    int height = m_fieldSize.height() > 0 ? m_fieldSize.height() : natural.height();
    if (m_overwriteWidth != -1) {
        width = m_overwriteWidth;
    }
    if (m_overwriteHeight != -1) {
        height = m_overwriteHeight;
    }
    return {std::max(0, width), std::max(0, height)};
}

int CFdtControlBase::LabelHeight() const {
    const QFontMetrics metrics = m_labelWindow->fontMetrics();
    return m_labelLines > 1 ? m_labelLines * metrics.lineSpacing() : metrics.height();
}

int CFdtControlBase::UnitWidth() const {
    return m_unit.empty() ? 0
                          : m_unitWindow->fontMetrics().horizontalAdvance(ToQString(m_unit)) + 2;
}

void CFdtControlBase::Arrange() {
    if (!m_frame || !m_field) {
        return;
    }
    const QSize field = FieldSize();
    const int labelWidth = !HasSideLabel()     ? 0
                           : m_labelWidth >= 0 ? m_labelWidth
                                               : GetNaturalLabelWidth();
    const int labelHeight = labelWidth > 0 ? LabelHeight() : 0;
    const int unitWidth = UnitWidth();
    const bool icon = IsDataBound();
    const int height = std::max({field.height(), labelHeight, icon ? kIconSize : 0});
    int x = 0;
    m_labelWindow->setVisible(labelWidth > 0);
    if (labelWidth > 0) {
        m_labelWindow->setGeometry(0, (height - labelHeight) / 2, labelWidth, labelHeight);
        x = labelWidth + kLabelGap;
    }
    m_field->setGeometry(x, (height - field.height()) / 2, field.width(), field.height());
    x += field.width();
    m_unitWindow->setVisible(unitWidth > 0);
    if (unitWidth > 0) {
        x += kUnitGap;
        m_unitWindow->setGeometry(x, 0, unitWidth, height);
        x += unitWidth;
    }
    if (icon) {
        x += kIconGap;
        m_stateIcon->move(x, (height - kIconSize) / 2);
        x += kIconSize;
    }
    m_frame->resize(x, height);
}

QSize CFdtControlBase::GetSize() const {
    return m_frame ? m_frame->size() : QSize();
}

QPoint CFdtControlBase::GetPosition() const {
    return m_frame ? m_frame->pos() : QPoint();
}

void CFdtControlBase::MoveTo(int x, int y) {
    if (m_frame) {
        m_frame->move(x, y);
    }
}

void CFdtControlBase::UnionWindowRect(QRect& rect) const {
    if (m_frame) {
        rect = rect.united(m_frame->geometry());
    }
}

void CFdtControlBase::MoveBy(int dx, int dy) {
    if (m_frame) {
        m_frame->move(m_frame->pos() + QPoint(dx, dy));
    }
}
