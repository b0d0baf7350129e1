#pragma once

#include "com/ComPtr.h"
#include "fdt/DtmInterfaces.h"
#include "ui/TextSource.h"

// The texts of the DTM environment as a source of the text provider. The DTM answers them as
// named properties (GetProperty on its IDtmUIAccess, the key as the property's name). A key
// the DTM does not know, a failing call, an empty value or a DTM without that interface
// answer nothing, so that the text provider falls back on the key or its built-in texts.
class CDtmTextSource : public ITextSource {
public:
    // `dtmInterface`: the registration interface the control found on the DTM object.
    explicit CDtmTextSource(IUnknown* dtmInterface);

    std::optional<QString> GetText(const QString& key) const override;

private:
    ComPtr<IDtmUIAccess> m_access;
};
