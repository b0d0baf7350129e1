#include "model/Conversions.h"
#include "ModelTestSupport.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdint>
#include <limits>

using namespace CConversions;

namespace {

const std::string kEmpty = "invalid: Input is empty";
const std::string kFormat = "runtime: Input format is not valid";
const std::string kRange = "runtime: Value is out of range";

TEST(Conversions, WholeNumbersAreStrict) {
    EXPECT_EQ(to_int64("-9223372036854775808"), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(to_int64(" +42"), 42);
    EXPECT_EQ(Failure([] { to_int64(""); }), kEmpty);
    EXPECT_EQ(Failure([] { to_int64("   "); }), kFormat);
    EXPECT_EQ(Failure([] { to_int64("12a"); }), kFormat);
    EXPECT_EQ(Failure([] { to_int64("12 "); }), kFormat);
    EXPECT_EQ(Failure([] { to_int64("+-5"); }), kFormat);
    EXPECT_EQ(Failure([] { to_int64("--5"); }), kFormat);
    EXPECT_EQ(Failure([] { to_int64("9223372036854775808"); }), kRange);
    EXPECT_EQ(Failure([] { to_int64("-9223372036854775809"); }), kRange);
    EXPECT_EQ(Failure([] { to_int64(std::string_view("1\0", 2)); }), kFormat);

    EXPECT_EQ(to_uint64("18446744073709551615"), std::numeric_limits<std::uint64_t>::max());
    EXPECT_EQ(Failure([] { to_uint64("18446744073709551616"); }), kRange);
    EXPECT_EQ(Failure([] { to_uint64("-1"); }), kFormat);
    EXPECT_EQ(Failure([] { to_uint64("-0"); }), kFormat);
}

TEST(Conversions, RadixParsesConsumeTheWholeText) {
    EXPECT_EQ(to_int32("ff", 16), 255);
    EXPECT_EQ(to_int32("0x1F", 16), 31);
    EXPECT_EQ(to_int32("-80000000", 16), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(to_int32("17", 8), 15);
    EXPECT_EQ(Failure([] { to_int32("80000000", 16); }), kRange);
    EXPECT_EQ(Failure([] { to_int32("19", 8); }), kFormat);
    EXPECT_EQ(Failure([] { to_int32("0x", 16); }), kFormat);
    EXPECT_EQ(Failure([] { to_int32("1", 1); }), "invalid: Radix must be within 2 and 36");

    EXPECT_EQ(to_uint32("FFFFFFFF", 16), 0xFFFFFFFFu);
    EXPECT_EQ(Failure([] { to_uint32("100000000", 16); }), kRange);
    EXPECT_EQ(Failure([] { to_uint32("-1"); }), kFormat);
    EXPECT_EQ(Failure([] { to_uint32(""); }), kEmpty);
}

TEST(Conversions, DoublesIgnoreTheProcessLocale) {
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8"); // where available, its decimal point is ','

    EXPECT_EQ(to_double("1.5"), 1.5);
    EXPECT_EQ(to_double("-1e3"), -1000.0);
    EXPECT_EQ(to_double(" +2.5E-1"), 0.25);
    EXPECT_EQ(Failure([] { to_double("1,5"); }), kFormat);
    EXPECT_EQ(Failure([] { to_double("1.5x"); }), kFormat);
    EXPECT_EQ(Failure([] { to_double("+-1"); }), kFormat);
    EXPECT_EQ(Failure([] { to_double("1e999"); }), kRange);
    EXPECT_EQ(Failure([] { to_double(""); }), kEmpty);
    EXPECT_EQ(format_double(0.1), "0.100000000000000006");
    EXPECT_EQ(format_double(-2.5), "-2.5");
    EXPECT_EQ(format_double(1e20), "1e+20");

    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(Conversions, NarrowingBooleansBytesAndFormats) {
    EXPECT_EQ(to_int16(-32768), -32768);
    EXPECT_EQ(Failure([] { to_int16(32768); }), kRange);
    EXPECT_EQ(Failure([] { to_int8(-129); }), kRange);
    EXPECT_EQ(Failure([] { to_uint16(-1); }), kRange);
    EXPECT_EQ(Failure([] { to_uint16(std::numeric_limits<std::uint64_t>::max()); }), kRange);
    EXPECT_EQ(to_uint8(255), 255);
    EXPECT_EQ(Failure([] { to_uint8(256); }), kRange);

    EXPECT_TRUE(to_bool("true"));
    EXPECT_TRUE(to_bool("TRUE"));
    EXPECT_FALSE(to_bool("FALSE"));
    EXPECT_EQ(Failure([] { to_bool("True"); }), kFormat);
    EXPECT_EQ(Failure([] { to_bool(""); }), kFormat);

    EXPECT_EQ(to_byte_array("0aFF10"), (std::vector<std::uint8_t>{0x0A, 0xFF, 0x10}));
    EXPECT_TRUE(to_byte_array("").empty());
    EXPECT_EQ(Failure([] { to_byte_array("abc"); }),
              "invalid: Invalid argument at CConversions::to_byte_array");
    EXPECT_EQ(Failure([] { to_byte_array("0g"); }), kFormat);

    EXPECT_EQ(to_string(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808");
    EXPECT_EQ(to_string(std::numeric_limits<std::uint64_t>::max()), "18446744073709551615");
    EXPECT_EQ(to_string(-7), "-7");
}

} // namespace
