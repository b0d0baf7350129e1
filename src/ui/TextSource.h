#pragma once

#include <QString>

#include <optional>

// One source of user-interface texts from the DTM environment. The control adapts what the
// DTM supplies to this interface and hands it to the text provider.
class ITextSource {
public:
    virtual ~ITextSource() = default;

    // The text stored under `key`, or nothing when the source has none. A text that begins
    // with "##" also counts as none. A source whose environment fails answers nothing
    // rather than throwing, so that the user interface falls back on its default texts.
    virtual std::optional<QString> GetText(const QString& key) const = 0;
};
