#include "ui/TextProvider.h"
#include "common/QtPrinters.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// A source answering from a table, with nothing for other keys.
class TableSource : public ITextSource {
public:
    explicit TableSource(std::map<QString, QString> texts) : m_texts(std::move(texts)) {}
    std::optional<QString> GetText(const QString& key) const override {
        const auto found = m_texts.find(key);
        return found == m_texts.end() ? std::nullopt : std::optional(found->second);
    }

private:
    std::map<QString, QString> m_texts;
};

TEST(TextProvider, WithoutSourcesIdsGiveTheBuiltInTextsAndKeysGiveNothing) {
    const CTextProvider provider;
    EXPECT_EQ(provider.GetText(7u), "Communication with device is in progress");
    EXPECT_EQ(provider.GetText(0u), "Connected");
    EXPECT_EQ(provider.GetText(20u), "Numeric value must be within {min} and {max}");
    EXPECT_EQ(provider.GetText(30u), "This value is modified!");
    // Ids 2 and 12 and ids beyond the table have no built-in text.
    EXPECT_EQ(provider.GetText(2u), "##UI_TEXT_2");
    EXPECT_EQ(provider.GetText(12u), "##UI_TEXT_12");
    EXPECT_EQ(provider.GetText(31u), "##UI_TEXT_31");
    EXPECT_EQ(provider.GetText(4294967295u), "##UI_TEXT_4294967295");
    EXPECT_EQ(provider.GetText(QStringLiteral("TT_COM_BN_SOUND")), QString());
}

TEST(TextProvider, SourceTextsWinAndTextsMarkedMissingFallBack) {
    CTextProvider provider;
    provider.SetPrimarySource(std::make_shared<TableSource>(std::map<QString, QString>{
        {"UI_TEXT_7", "Kommunikation mit dem Gerät läuft"},
        {"UI_TEXT_40", "##missing"},
        {"UI_TEXT_17", "##"},
        {"UI_TEXT_0", ""},
        {"HASH", "#"},
        {"LABEL", "Sollwert"},
    }));
    EXPECT_EQ(provider.GetText(7u), "Kommunikation mit dem Gerät läuft");
    EXPECT_EQ(provider.GetText(QStringLiteral("LABEL")), "Sollwert");
    // An answer beginning with "##" is no text: the key stands for it.
    EXPECT_EQ(provider.GetText(QStringLiteral("UI_TEXT_40")), "UI_TEXT_40");
    EXPECT_EQ(provider.GetText(40u), "##UI_TEXT_40");
    EXPECT_EQ(provider.GetText(17u), "OK");
    // One "#" is a text of its own.
    EXPECT_EQ(provider.GetText(QStringLiteral("HASH")), "#");
    // Keys the source does not know give the key, or the built-in text of an id.
    EXPECT_EQ(provider.GetText(QStringLiteral("TT_UNKNOWN")), "TT_UNKNOWN");
    EXPECT_EQ(provider.GetText(3u), "ValidModified");
    EXPECT_EQ(provider.GetText(0u), "Connected");
}

TEST(TextProvider, SecondarySourceAnswersOnlyWhileNoPrimaryIsSet) {
    CTextProvider provider;
    provider.SetSecondarySource(std::make_shared<TableSource>(
        std::map<QString, QString>{{"UI_TEXT_26", "Direktmodus"}, {"KEY", "Schlüssel"}}));
    EXPECT_EQ(provider.GetText(26u), "Direktmodus");
    EXPECT_EQ(provider.GetText(QStringLiteral("KEY")), "Schlüssel");
    provider.SetPrimarySource(std::make_shared<TableSource>(std::map<QString, QString>{}));
    EXPECT_EQ(provider.GetText(26u), "Direct mode");
    EXPECT_EQ(provider.GetText(QStringLiteral("KEY")), "KEY");
}

} // namespace
