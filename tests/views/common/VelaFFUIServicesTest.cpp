#include "views/common/VelaFFUIServices.h"
#include "TestPaths.h"

#include "common/QtPrinters.h"

#include "model/DeviceState.h"
#include "ui/ApplicationView.h"
#include "ui/AreaResources.h"
#include "ui/SharedIcons.h"
#include "ui/UiFakes.h"
#include "views/common/VelaFFUIGlobalData.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gmock/gmock.h>

#include <array>
#include <stdexcept>

namespace {

using ::testing::StrictMock;
using Edited = CVelaFFUIServices::EEditedField;

QImage Image(const QPixmap& pixmap) {
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
}

class FieldCheckTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // The shared table looks beside the program and then in the working directory.
        const QString previous = QDir::currentPath();
        QDir::setCurrent(QFileInfo(QStringLiteral(OV_RESOURCE_FILE)).absolutePath());
        CSharedIcons::Instance().Acquire();
        QDir::setCurrent(previous);
    }
    static void TearDownTestSuite() { CSharedIcons::Instance().Release(); }

    // The shared icon the label shows: 31, 30, or 0 for anything else.
    int ShownIcon() const {
        for (int id : {CVelaFFUIServices::ValidIcon, CVelaFFUIServices::InvalidIcon}) {
            if (Image(icon.pixmap()) == Image(CSharedIcons::Instance().GetIcon(id).pixmap(16))) {
                return id;
            }
        }
        return 0;
    }
    // Checks `text` in `field` expecting `message` as tooltip, or its removal when empty.
    template <class Check>
    void Expect(QLineEdit& target, const QString& text, const std::string& message, Check check) {
        target.setText(text);
        if (message.empty()) {
            EXPECT_CALL(view, RemoveToolTip(&target));
        } else {
            EXPECT_CALL(view, AddToolTip(&target, message));
        }
        EXPECT_EQ(check(), message.empty()) << text.toStdString();
        EXPECT_EQ(ShownIcon(), message.empty() ? 31 : 30) << text.toStdString();
        EXPECT_EQ(target.text(), text);
        ::testing::Mock::VerifyAndClearExpectations(&view);
    }

    StrictMock<MockView> view{0, nullptr, nullptr, false};
    QLineEdit field;
    QLineEdit other;
    QLabel icon;
    CVelaFFUIServices services;
};

TEST_F(FieldCheckTest, NumericRangeNamesTheLimitsAndRefusesFractionsOfIntegers) {
    const SNumericRange whole{0, 100, true};
    const SNumericRange floating{-1.5, 2.25, false};
    const auto range = [&](const SNumericRange& r) {
        return [&, r] { return services.CheckNumericRange(view, field, icon, r); };
    };
    ASSERT_FALSE(CSharedIcons::Instance().GetIcon(30).isNull());
    Expect(field, "100", "", range(whole));
    Expect(field, "0", "", range(whole));
    Expect(field, "12.5",
           "Fraction values are not allowed. Numeric Range shall be between 0 and 100",
           range(whole));
    Expect(field, "101", "Numeric Range shall be between 0 and 100", range(whole));
    Expect(field, "-1", "Numeric Range shall be between 0 and 100", range(whole));
    Expect(field, "0.5", "", range(floating));
    Expect(field, "2.3", "Numeric Range shall be between -1.5 and 2.25", range(floating));
    Expect(field, "nan", "Numeric Range shall be between -1.5 and 2.25", range(floating));
    Expect(field, "1,5", "Input format is not valid", range(floating));
    Expect(field, "", "Input is empty", range(floating));
    Expect(field, "7.5",
           "Fraction values are not allow and Numeric Range shall be between 0 and 100",
           [&] { return services.CheckNumericRangeAlternate(view, field, icon, whole); });
    Expect(field, "200", "Numeric Range shall be between 0 and 100",
           [&] { return services.CheckNumericRangeAlternate(view, field, icon, whole); });
}

TEST_F(FieldCheckTest, LowerUpperInBothDirectionsAcceptsEqualValues) {
    const auto check = [&](Edited edited) {
        return [&, edited] { return services.CheckLowerUpper(view, field, other, icon, edited); };
    };
    other.setText("5");
    Expect(field, "6", "Upper value must be greater lower value", check(Edited::First));
    Expect(field, "5", "", check(Edited::First));
    Expect(field, "4", "", check(Edited::First));
    field.setText("5");
    Expect(other, "6", "Lower value must be less than Upper value", check(Edited::Second));
    Expect(other, "5", "", check(Edited::Second));
    Expect(other, "4", "", check(Edited::Second));
    Expect(other, "x", "Input format is not valid", check(Edited::Second));
}

TEST_F(FieldCheckTest, CrossRangeOnlyWithBothFieldsAndAlphaNumericTags) {
    const auto cross = [&] { return services.CheckCrossRange(view, field, other, icon, 7); };
    field.setText("9");
    EXPECT_TRUE(cross()); // the strict mock fails on any tooltip change
    EXPECT_EQ(ShownIcon(), 0);
    other.setText("3");
    Expect(field, "4", "", cross);
    Expect(field, "4.5", "Cross the range", cross);

    const auto tag = [&] { return services.CheckAlphaNumeric(view, field, icon); };
    Expect(field, "PT-101_a b", "", tag);
    for (const char* text : {"", "PT.101", "Grö"}) {
        Expect(field, QString::fromUtf8(text), "AlphaNumerics, - and _ are only accepted", tag);
    }
}

TEST(UIServices, ToggleSoundFlipsTheFlagAndTwiceRestoresTheButton) {
    const QImage on = Image(LoadBitmapResource(CVelaFFUIServices::SoundOnBitmap));
    const QImage off = Image(LoadBitmapResource(CVelaFFUIServices::SoundOffBitmap));
    ASSERT_FALSE(on.isNull());
    ASSERT_NE(on, off);
    const auto shows = [](const QPushButton& button) {
        return Image(button.icon().pixmap(button.icon().availableSizes().value(0)));
    };
    SDeviceState state;
    QPushButton button;
    const CVelaFFUIServices services;
    services.RefreshSoundButton(state, button);
    EXPECT_EQ(button.text(), "Sound OFF");
    EXPECT_EQ(shows(button), off);
    services.ToggleSound(state, button);
    EXPECT_TRUE(state.soundOn);
    EXPECT_EQ(button.text(), "Sound ON");
    EXPECT_EQ(shows(button), on);
    services.ToggleSound(state, button);
    EXPECT_FALSE(state.soundOn);
    EXPECT_EQ(button.text(), "Sound OFF");
    EXPECT_EQ(shows(button), off);
}

TEST(UIServices, GlobalDataStartsWithTheFirstAndLastFlagSet) {
    const CVelaFFUIGlobalData& data = CVelaFFUIGlobalData::Instance();
    for (std::size_t i = 0; i < CVelaFFUIGlobalData::FlagCount; ++i) {
        EXPECT_EQ(data.GetFlag(i), i == 0 || i == 6 ? 1 : 0) << i;
    }
    EXPECT_THROW(data.GetFlag(7), std::out_of_range);
}

TEST(UIServices, ParseHexWordsCombinesBytesBigEndianAndStaysInsideTheArray) {
    const CVelaFFUIServices services;
    std::array<std::uint32_t, 3> items{};
    EXPECT_TRUE(services.ParseHexWords("0102a0FFee00", items, 2, 3));
    EXPECT_EQ(items, (std::array<std::uint32_t, 3>{0x0102a0, 0xffee00, 0}));
    EXPECT_TRUE(services.ParseHexWords("0102A0FF", items, 1, 4));
    EXPECT_EQ(items[0], 0x0102a0ffu);
    EXPECT_TRUE(services.ParseHexWords("0102A0FF", items, 3, 1));
    EXPECT_EQ(items, (std::array<std::uint32_t, 3>{1, 2, 0xa0}));

    // Every refusal leaves the items as they were.
    const auto before = items;
    const std::span<std::uint32_t> firstTwo(items.data(), 2);
    EXPECT_FALSE(services.ParseHexWords("010203040506", firstTwo, 3, 2)); // past the array
    EXPECT_FALSE(services.ParseHexWords("0102", items, 2, 2));            // too short
    EXPECT_FALSE(services.ParseHexWords("", items, 0, 2));
    EXPECT_FALSE(services.ParseHexWords("01G2", items, 1, 2));
    EXPECT_FALSE(services.ParseHexWords("01 2", items, 1, 2));
    EXPECT_FALSE(services.ParseHexWords("01020", items, 1, 2));
    EXPECT_FALSE(services.ParseHexWords("0102030405", items, 1, 5));
    EXPECT_FALSE(services.ParseHexWords("0102", items, 1, 0));
    EXPECT_EQ(items, before);
}

} // namespace
