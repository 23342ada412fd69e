#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/number_text.h"

namespace vesk {
namespace {

struct FormCase {
    double value;
    const char* general;
    const char* signed_text;
};

TEST(NumberText, GeneralAndSignedForms) {
    const FormCase cases[] = {
        {3, "3", " 3"},
        {0, "0", " 0"},
        {-0.0, "0", " 0"},
        {3.4, "3.4", " 3.4"},
        {0.84, "0.84", " .84"},
        {-0.4364, "-0.4364", "-.4364"},
        {2.0 / 3, "0.666666666666667", " .666666666666667"},
        {-12, "-12", "-12"},
        {123456789012345.0, "123456789012345", " 123456789012345"},
        {0.1 + 0.2, "0.3", " .3"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(general_form(c.value), c.general) << c.value;
        EXPECT_EQ(signed_form(c.value), c.signed_text) << c.value;
    }
}

TEST(NumberText, ParsesNumericLiteralsAndRefusesWhatIsNotOne) {
    const std::pair<const char*, double> accepted[] = {
        {"007", 7},     {" 12", 12},          {"-3", -3},      {"1.5", 1.5},
        {"+4", 4},      {".5", 0.5},          {"5.", 5},       {"1e3", 1000},
        {"2E-2", 0.02}, {"  -0.25  ", -0.25}, {"1.5e+2", 150},
    };
    for (const auto& [text, value] : accepted) {
        const auto parsed = parse_number(text);
        ASSERT_TRUE(parsed.has_value()) << text;
        EXPECT_DOUBLE_EQ(*parsed, value) << text;
    }
    for (const char* text : {"", "   ", "1,5", "inf", "nan", "-inf", "0x1A", "- 3", "1.2.3", "e5",
                             ".", "-", "1e", "1e+", "12a", "1 2", "1e999", "\t1"}) {
        EXPECT_FALSE(parse_number(text).has_value()) << '"' << text << '"';
    }
}

TEST(NumberText, ParsesEveryDecimalToTheNearestDouble) {
    // Digits and point positions of every length up to 17, against the C library's reading.
    std::uint64_t digits = 7;
    for (int i = 0; i < 20000; ++i) {
        digits = digits * 6364136223846793005ULL + 1442695040888963407ULL;
        std::string text = std::to_string(digits >> (i % 64 == 0 ? 0 : i % 40));
        text = text.substr(0, 1 + static_cast<std::size_t>(i) % 17);
        text.insert(static_cast<std::size_t>(i / 17) % (text.size() + 1), ".");
        text.insert(0, i % 3 == 0 ? "-" : "");
        const auto parsed = parse_number(text);
        ASSERT_TRUE(parsed.has_value()) << text;
        EXPECT_EQ(*parsed, std::strtod(text.c_str(), nullptr)) << text;
    }
}

TEST(NumberText, ImpliedDecimalsPlaceThePointInAFieldWrittenWithoutOne) {
    struct Case {
        const char* text;
        int decimals;
        const char* decimal;  // the value written out by hand, as the C library reads it
        const char* shown;    // its general form
    };
    const Case cases[] = {
        {"12345", 2, "123.45", "123.45"},
        {"123.4", 2, "123.4", "123.4"},  // a point is taken as written
        {"  -0050", 1, "-5", "-5"},
        {"+7", 3, "0.007", "0.007"},
        {"000001", 4, "0.0001", "0.0001"},
        {"2e3", 2, "20", "20"},
        {"15E-1", 1, "0.15", "0.15"},
        {"1234567890123456789", 4, "123456789012345.6789", "123456789012346"},
        {"12345", 20, "0.00000000000000012345", "1.2345e-16"},
        {"99", 0, "99", "99"},
    };
    for (const Case& c : cases) {
        const auto parsed = parse_number(c.text, c.decimals);
        ASSERT_TRUE(parsed.has_value()) << c.text;
        EXPECT_EQ(*parsed, std::strtod(c.decimal, nullptr)) << c.text;
        EXPECT_EQ(general_form(*parsed), c.shown) << c.text;
    }
    for (const char* text : {"", "  ", "12,5", "1e", "1e99999999999"}) {
        EXPECT_FALSE(parse_number(text, 2).has_value()) << text;
    }
}

TEST(NumberText, ImpliedDecimalsGiveTheDoubleNearestToTheDecimal) {
    // Fields of up to 17 digits with up to 17 implied decimals, against the C library's reading
    // of the same digits with the point written in.
    std::uint64_t state = 11;
    for (int i = 0; i < 20000; ++i) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        const std::string field = std::to_string(state >> 11).substr(0, 1 + (state >> 7) % 17);
        const int decimals = static_cast<int>((state >> 3) % 18);
        std::string written = std::string(static_cast<std::size_t>(decimals), '0') + field;
        written.insert(written.size() - static_cast<std::size_t>(decimals), ".");
        const auto parsed = parse_number(field, decimals);
        ASSERT_TRUE(parsed.has_value()) << field;
        EXPECT_EQ(*parsed, std::strtod(written.c_str(), nullptr)) << field << " " << decimals;
    }
}

}  // namespace
}  // namespace vesk
