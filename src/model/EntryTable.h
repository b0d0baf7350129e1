#pragma once

#include "model/Conversions.h"
#include "model/ElementAttributes.h"
#include "xml/Xml.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Named numbers (enumeration choices, bits): the list in document order and two ordered
// maps, number to text and text to number. `Entry` is an aggregate of text, tooltip and
// number, in that order; `Text` and `Number` point at its text and number members. When two
// entries share a number or a text, the maps keep the first.
template <class Entry, auto Text, auto Number> class CEntryTable {
public:
    // Reads the `child` elements of the first `collection` element of `document`: their
    // text, "tooltip" and number attributes, the number parsed as unsigned decimal (a number
    // that does not parse raises the conversion's error).
    static CEntryTable Read(const xml::Document& document, std::string_view collection,
                            std::string_view child, std::string_view textName,
                            std::string_view numberName) {
        CEntryTable table;
        const xml::Node parent = FindFirstElement(document.Root(), collection);
        for (const CElementAttributes& entry : CElementAttributes::OfChildren(parent, child)) {
            table.Add(Entry{entry.Get(textName), entry.Get("tooltip"),
                            CConversions::to_uint32(entry.Get(numberName))});
        }
        return table;
    }

    const std::vector<Entry>& List() const { return m_list; }
    const std::map<std::uint32_t, std::string>& ByNumber() const { return m_byNumber; }
    const std::map<std::string, std::uint32_t, std::less<>>& ByText() const { return m_byText; }

    // The text of a number, or null when no entry has it.
    const std::string* FindText(std::uint32_t number) const {
        const auto it = m_byNumber.find(number);
        return it != m_byNumber.end() ? &it->second : nullptr;
    }
    std::optional<std::uint32_t> FindNumber(std::string_view text) const {
        const auto it = m_byText.find(text);
        return it != m_byText.end() ? std::optional(it->second) : std::nullopt;
    }

private:
    void Add(Entry entry) {
        m_byNumber.emplace(entry.*Number, entry.*Text);
        m_byText.emplace(entry.*Text, entry.*Number);
        m_list.push_back(std::move(entry));
    }

    std::vector<Entry> m_list;
    std::map<std::uint32_t, std::string> m_byNumber;
    std::map<std::string, std::uint32_t, std::less<>> m_byText;
};
