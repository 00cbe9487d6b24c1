#include "sim/NumberText.h"

#include <gtest/gtest.h>

#include <string>

namespace yawmark {
namespace {

TEST(NumberText, Writing) {
    const std::pair<double, const char*> cases[] = {
        {58.80000000000001, "58.8"},
        {10 / 11.16, "0.896057347670251"},
        {400, "400"},
        {0.0001, "0.0001"},
        {1e-05, "1E-05"},
        {-0.0, "0"},
        {-0.187241109519877, "-0.187241109519877"},
        {2061.2577916666664, "2061.25779166667"},
        {1e15, "1E+15"},
        {123456789012345.0, "123456789012345"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(formatNumber(value), text) << value;
}

TEST(NumberText, StrictReading) {
    for (const char* bad : {"", " ", "1,5", "nan", "inf", "1e999", "0x10", "1e", "+-1", "1 2", "-",
                            ".", "e5", "1.2.3", "12a", "Infinity"})
        EXPECT_FALSE(parseNumber(bad)) << '"' << bad << '"';
    const std::pair<const char*, double> good[] = {
        {" 12 ", 12},   {"-0", 0}, {".5", 0.5},   {"5.", 5},
        {"1E+3", 1000}, {"+7", 7}, {"1e-400", 0}, {"0.896057347670251", 0.896057347670251},
    };
    for (const auto& [text, value] : good) {
        const auto v = parseNumber(text);
        ASSERT_TRUE(v) << '"' << text << '"';
        EXPECT_EQ(*v, value) << '"' << text << '"';
    }
    EXPECT_EQ(formatNumber(*parseNumber("-0")), "0");
    const std::string longNumber = "1" + std::string(299, '0');
    ASSERT_TRUE(parseNumber(longNumber));
    EXPECT_EQ(*parseNumber(longNumber), 1e299);
}

TEST(NumberText, WrittenTextReadsBack) {
    for (double v : {4.29, 1139.0, 0.41200000000000003, -6.283185307179586, 1e-300, 1.5e300}) {
        const auto back = parseNumber(formatNumber(v));
        ASSERT_TRUE(back);
        EXPECT_EQ(formatNumber(*back), formatNumber(v));
        EXPECT_NEAR(*back, v, std::abs(v) * 1e-14);
    }
}

} // namespace
} // namespace yawmark
