#pragma once

#include "ui/TextSource.h"

#include <QString>

#include <cstdint>
#include <memory>

// Texts of the user interface, by key and by numeric text id.
class ITextResource {
public:
    virtual ~ITextResource() = default;

    virtual void SetPrimarySource(std::shared_ptr<ITextSource> source) = 0;
    virtual void SetSecondarySource(std::shared_ptr<ITextSource> source) = 0;
    // The source's text for `key`; the key itself when the source has none; the empty text
    // when no source is set.
    virtual QString GetText(const QString& key) const = 0;
    // The text of key "UI_TEXT_<id>", else the built-in default of the id, else
    // "##UI_TEXT_<id>".
    virtual QString GetText(std::uint32_t id) const = 0;
};
