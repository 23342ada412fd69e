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

}  // namespace
}  // namespace vesk
