#include "sim/NumberText.h"

#include <gtest/gtest.h>

#include <string>

namespace yawmark {
namespace {

TEST(NumberText, Writing) {
    const std::pair<double, const char*> cases[] = {
        {58.80000000000001, "58.8"},
        {10 / 11.16, "0.896057347670251"},
        {0.0001, "0.0001"},
        {1e-05, "1E-05"},
        {-0.0, "0"},
        {-0.187241109519877, "-0.187241109519877"},
        {2061.2577916666664, "2061.25779166667"},
        {1e15, "1E+15"},
        {123456789012345.0, "123456789012345"},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(formatNumber(value), text) << value;
        const auto back = parseNumber(text); // and the text reads back
        ASSERT_TRUE(back) << text;
        EXPECT_NEAR(*back, value, std::abs(value) * 1e-14) << text;
    }
}

TEST(NumberText, StrictReading) {
    for (const char* bad : {"", " ", "1,5", "nan", "inf", "1e999", "0x10", "1e", "+-1", "1 2", "-",
                            ".", "e5", "1.2.3", "12a", "Infinity"})
        EXPECT_FALSE(parseNumber(bad)) << '"' << bad << '"';
    const std::string longNumber = "1" + std::string(299, '0');
    const std::pair<std::string, double> good[] = {
        {" 12 ", 12}, {"-0", 0},     {".5", 0.5},          {"5.", 5},           {"1E+3", 1000},
        {"+7", 7},    {"1e-400", 0}, {"1.5e300", 1.5e300}, {longNumber, 1e299},
    };
    for (const auto& [text, value] : good) {
        const auto v = parseNumber(text);
        ASSERT_TRUE(v) << '"' << text << '"';
        EXPECT_EQ(*v, value) << '"' << text << '"';
    }
    EXPECT_EQ(formatNumber(*parseNumber("-0")), "0");
}

} // namespace
} // namespace yawmark
