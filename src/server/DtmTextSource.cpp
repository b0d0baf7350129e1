#include "server/DtmTextSource.h"

CDtmTextSource::CDtmTextSource(IUnknown* dtmInterface)
    : m_access(ComPtr<IUnknown>(dtmInterface).As<IDtmUIAccess>()) {}

std::optional<QString> CDtmTextSource::GetText(const QString& key) const {
    if (!m_access) {
        return std::nullopt;
    }
    try {
        Variant value;
        if (FAILED(m_access->GetProperty(key.toStdString(), &value)) || value.IsEmpty()) {
            return std::nullopt;
        }
        return QString::fromStdString(value.ToString());
    } catch (...) {
        // A DTM that fails its texts leaves the user interface with its default texts.
        return std::nullopt;
    }
}
