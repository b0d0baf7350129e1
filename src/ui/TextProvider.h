#pragma once

#include "ui/TextResource.h"

#include <optional>

// The text provider of the control: asks the primary source, or the secondary one when no
// primary is set, and falls back on a built-in table of default texts for numeric ids.
class CTextProvider : public ITextResource {
public:
    void SetPrimarySource(std::shared_ptr<ITextSource> source) override;
    void SetSecondarySource(std::shared_ptr<ITextSource> source) override;
    QString GetText(const QString& key) const override;
    QString GetText(std::uint32_t id) const override;

    // The built-in default text of a text id, shared by all providers.
    static std::optional<QString> BuiltInText(std::uint32_t id);

private:
    std::shared_ptr<ITextSource> m_primarySource;
    std::shared_ptr<ITextSource> m_secondarySource;
};
