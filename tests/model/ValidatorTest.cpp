#include "ModelTestSupport.h"
#include "model/ValidatorNumericRange.h"
#include "xml/Xml.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

const std::string kNotWhole = "Input is not a valid whole number";
const std::string kNotFloating = "Input is not a valid floating number";

// The validator that a ControlData element with `attributes` and `validator` describes.
std::unique_ptr<IValidator> Create(const std::string& attributes, const std::string& validator,
                                   ValidatorTextSource texts = BuiltInValidatorText) {
    const auto doc = xml::Document::Parse(ControlData(attributes, validator));
    return CreateValidator(doc.SelectSingle("//ControlData"), std::move(texts));
}

TEST(ValidatorCreation, RuleTypeAndValueTypeAreComparedExactly) {
    EXPECT_EQ(Create(R"(valueType="eint32")", ""), nullptr);
    EXPECT_EQ(Create(R"(valueType="eint32")", R"(<Validator type="NumericRange"/>)"), nullptr);
    EXPECT_EQ(Create(R"(valueType="eint32")", R"(<Validator type="stringLength"/>)"), nullptr);

    const auto unsignedRule =
        Create(R"(valueType="EUInt32")", R"(<Validator type="numericRange"/>)");
    const auto* range = dynamic_cast<CValidatorNumericRangeUnsigned*>(unsignedRule.get());
    ASSERT_NE(range, nullptr);
    EXPECT_EQ(range->GetMin(), 0u);
    EXPECT_EQ(range->GetMax(), std::numeric_limits<std::uint64_t>::max());
    EXPECT_EQ(range->GetStep(), 0u);
    EXPECT_TRUE(unsignedRule->GetMessage().empty());

    // The lower-case form that descriptors accept still selects the signed rule.
    const auto signedRule = Create(R"(valueType="euint32")", R"(<Validator type="numericRange"/>)");
    const auto* signedRange = dynamic_cast<CValidatorNumericRange*>(signedRule.get());
    ASSERT_NE(signedRange, nullptr);
    EXPECT_EQ(signedRange->GetMin(), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(signedRange->GetMax(), std::numeric_limits<std::int64_t>::max());

    const auto doubleRule = Create("", R"(<Validator type="numericRange_double" step="x"/>)");
    const auto* doubleRange = dynamic_cast<CValidatorNumericRange_double*>(doubleRule.get());
    ASSERT_NE(doubleRange, nullptr);
    EXPECT_EQ(doubleRange->GetMin(), -INFINITY);
    EXPECT_EQ(doubleRange->GetMax(), INFINITY);

    // A limit that does not parse reaches the caller.
    EXPECT_EQ(Failure([] { Create("", R"(<Validator type="numericRange" min="ten"/>)"); }),
              "runtime: Input format is not valid");
    EXPECT_EQ(Failure([] {
                  Create(R"(valueType="EUInt8")", R"(<Validator type="numericRange" min="-1"/>)");
              }),
              "runtime: Input format is not valid");
}

TEST(ValidatorNumericRange, RangeBeforeStepWithNegativeValues) {
    auto rule = Create("", R"(<Validator type="numericRange" min="-100" max="100" step="5"/>)");
    EXPECT_TRUE(rule->Validate("-15"));
    EXPECT_TRUE(rule->Validate("0"));
    EXPECT_FALSE(rule->Validate("-7"));
    EXPECT_EQ(rule->GetMessage(), "Input value must be divisible by 5");
    EXPECT_FALSE(rule->Validate("-101"));
    EXPECT_EQ(rule->GetMessage(), "Numeric value must be within -100 and 100");
    EXPECT_TRUE(rule->Validate("100"));
    EXPECT_TRUE(rule->GetMessage().empty());
    EXPECT_FALSE(rule->Validate(""));
    EXPECT_EQ(rule->GetMessage(), kNotWhole);
    EXPECT_FALSE(rule->Validate("1.0"));
    EXPECT_EQ(rule->GetMessage(), kNotWhole);

    auto range = Create("", R"(<Validator type="numericRange" min="10" max="20"/>)");
    EXPECT_FALSE(range->Validate("25"));
    EXPECT_EQ(range->GetMessage(), "Numeric value must be within 10 and 20");
    EXPECT_TRUE(range->Validate("13")); // step 0: every whole number within the limits

    // A negative step means no step at all.
    auto negativeStep = Create("", R"(<Validator type="numericRange" step="-4"/>)");
    EXPECT_TRUE(negativeStep->Validate("-7"));
    EXPECT_TRUE(negativeStep->Validate("-9223372036854775808"));
}

TEST(ValidatorNumericRangeUnsigned, FullRangeAndStep) {
    auto rule = Create(R"(valueType="EUInt64")",
                       R"(<Validator type="numericRange" min="5" step="10000000000000000000"/>)");
    EXPECT_TRUE(rule->Validate("10000000000000000000"));
    EXPECT_FALSE(rule->Validate("3"));
    EXPECT_EQ(rule->GetMessage(), "Numeric value must be within 5 and 18446744073709551615");
    EXPECT_FALSE(rule->Validate("18446744073709551615"));
    EXPECT_EQ(rule->GetMessage(), "Input value must be divisible by 10000000000000000000");
    EXPECT_FALSE(rule->Validate("-1"));
    EXPECT_EQ(rule->GetMessage(), kNotWhole);
}

TEST(ValidatorNumericRange_double, StrictParseAndLimits) {
    auto rule = Create("", R"(<Validator type="numericRange_double" min="-2.5E3" max="1E+2"/>)");
    EXPECT_TRUE(rule->Validate("-1e3"));
    EXPECT_FALSE(rule->Validate("1.5x"));
    EXPECT_EQ(rule->GetMessage(), kNotFloating);
    EXPECT_FALSE(rule->Validate("100.5"));
    EXPECT_EQ(rule->GetMessage(), "Numeric value must be within -2500 and 100");
    EXPECT_FALSE(rule->Validate("nan"));
    EXPECT_EQ(rule->GetMessage(), "Numeric value must be within -2500 and 100");

    auto open = Create("", R"(<Validator type="numericRange_double"/>)");
    EXPECT_TRUE(open->Validate("-1.7976931348623157e308"));
    EXPECT_TRUE(open->Validate("0.1"));
    EXPECT_FALSE(open->Validate("0.1 "));
    EXPECT_EQ(open->GetMessage(), kNotFloating);
}

TEST(Validator, TemplatesComeFromTheTextSource) {
    std::vector<int> asked;
    auto texts = [&asked](int id) {
        asked.push_back(id);
        return "{max}|{min}|{min} #" + std::to_string(id);
    };
    auto rule = Create("", R"(<Validator type="numericRange" min="1" max="2" step="2"/>)", texts);
    EXPECT_FALSE(rule->Validate("3"));
    EXPECT_EQ(rule->GetMessage(), "2|1|1 #20");
    EXPECT_FALSE(rule->Validate("x"));
    EXPECT_EQ(rule->GetMessage(), "{max}|{min}|{min} #22");
    EXPECT_EQ(asked, (std::vector<int>{20, 22}));

    auto floating = Create("", R"(<Validator type="numericRange_double"/>)", texts);
    EXPECT_FALSE(floating->Validate("x"));
    EXPECT_EQ(asked.back(), 23);
    EXPECT_EQ(BuiltInValidatorText(24), "Input value must be divisible by {step}");
}

} // namespace
