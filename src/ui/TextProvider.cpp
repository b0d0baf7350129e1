#include "ui/TextProvider.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

struct BuiltIn {
    std::uint32_t m_id;
    const char* m_text;
};

// Default texts of the numeric text ids; ids 2 and 12 have none.
constexpr std::array<BuiltIn, 29> BuiltInTexts{{
    {0, "Connected"},
    {1, "Disconnected"},
    {3, "ValidModified"},
    {4, "InvalidModified"},
    {5, "AllDataLoaded"},
    {6, "Default"},
    {7, "Communication with device is in progress"},
    {8, "Data set"},
    {9, "Data set locked"},
    {10, "Device"},
    {11, "Device locked"},
    {13, "Failure"},
    {14, "Functional check"},
    {15, "Off \x73pecification"},
    {16, "Maintenance required"},
    {17, "OK"},
    {18, "Diagnosis deactivated"},
    {19, "Unknown validation error"},
    {20, "Numeric value must be within {min} and {max}"},
    {21, "String length must be within {min} and {max}"},
    {22, "Input is not a valid whole number"},
    {23, "Input is not a valid floating number"},
    {24, "Input value must be divisible by {step}"},
    {25, "Data modified in device"},
    {26, "Direct mode"},
    {27, "This button is currently disabled!"},
    {28, "Value is not available!"},
    {29, "This value is read from device periodically!"},
    {30, "This value is modified!"},
}};

// A source marks a key it has no text for by answering a text that begins with "##".
bool IsMissingMark(const QString& text) {
    return text.startsWith(QLatin1String("##"));
}

} // namespace

void CTextProvider::SetPrimarySource(std::shared_ptr<ITextSource> source) {
    m_primarySource = std::move(source);
}

void CTextProvider::SetSecondarySource(std::shared_ptr<ITextSource> source) {
    m_secondarySource = std::move(source);
}

QString CTextProvider::GetText(const QString& key) const {
    const std::shared_ptr<ITextSource>& source =
        m_primarySource ? m_primarySource : m_secondarySource;
    if (!source) {
        return {};
    }
    const std::optional<QString> text = source->GetText(key);
    return text && !IsMissingMark(*text) ? *text : key;
}

QString CTextProvider::GetText(std::uint32_t id) const {
    const QString key = QStringLiteral("UI_TEXT_%1").arg(id);
    const QString text = GetText(key);
    if (!text.isEmpty() && text != key) {
        return text;
    }
    return BuiltInText(id).value_or(QStringLiteral("##") + key);
}

std::optional<QString> CTextProvider::BuiltInText(std::uint32_t id) {
    const auto* found = std::find_if(BuiltInTexts.begin(), BuiltInTexts.end(),
                                     [id](const BuiltIn& entry) { return entry.m_id == id; });
    if (found == BuiltInTexts.end()) {
        return std::nullopt;
    }
    return QString::fromUtf8(found->m_text);
}
