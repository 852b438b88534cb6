#include "model/resource_text.h"

#include <cstring>
#include <string>

#include <gtest/gtest.h>

namespace {

TEST(ResourceText, FallbackTableGivesTheValueAfterTheColon)
{
    char buf[512];
    EXPECT_STREQ(getResourceString("stkErrorSyntax", buf, sizeof buf), "%s: Syntax Error: %s");
    EXPECT_STREQ(getResourceString("noSuchResourceAnywhere", buf, sizeof buf), "");
    // A prefix of a real name is not that name.
    EXPECT_STREQ(getResourceString("stkError", buf, sizeof buf), "");
}

TEST(ResourceText, CopyIsCutToTheBuffer)
{
    char buf[8];
    std::memset(buf, 'x', sizeof buf);
    getResourceString("stkErrorSyntax", buf, sizeof buf);
    EXPECT_STREQ(buf, "%s: Syn");
}

char *overridingProvider(const char *name, char *buf, int len)
{
    const char *text = std::strcmp(name, "stkErrorSyntax") == 0         ? "%s %n %s"
                       : std::strcmp(name, "stkErrorFileNotFound") == 0 ? "%s %.999999999s"
                                                                        : "user: %s";
    std::snprintf(buf, static_cast<size_t>(len), "%s", text);
    return buf;
}

TEST(ResourceText, UntrustedFormatFallsBackToTheBuiltInText)
{
    setResourceStringProvider(overridingProvider);
    char buf[512];
    EXPECT_STREQ(getResourceFormat("stkErrorSyntax", "ss", buf, sizeof buf), "%s: Syntax Error: %s");
    EXPECT_STREQ(getResourceFormat("stkErrorIllegalParam", "ss", buf, sizeof buf), "user: %s");
    EXPECT_STREQ(getResourceFormat("stkErrorFileNotFound", "ss", buf, sizeof buf),
                 "%s: File not found: %s")
        << "a huge precision would stall every use";
    setResourceStringProvider(nullptr);
    EXPECT_STREQ(getResourceString("stkErrorIllegalParam", buf, sizeof buf),
                 "%s: Illegal Parameter: %s");
}

TEST(ResourceText, FormatConversionRules)
{
    struct {
        const char *format, *conversions;
        int accepted;
    } cases[] = {
        {"%s: Syntax Error: %s", "ss", 1},
        {"%s: Insufficient memory.", "ss", 1}, // fewer than passed is safe
        {"no conversion, 100%% sure", "ss", 1},
        {"%s %s %s", "ss", 0},                 // reads an argument never passed
        {"%d", "ss", 0},                       // wrong kind
        {"%n", "s", 0},                        // writes memory
        {"%*s", "ss", 0},                      // width taken from the arguments
        {"%-10s|%5.2f|%03d", "sfd", 1},
        {"%lf at %.3e", "ff", 1},
        {"%ld", "d", 0},                       // a long is never passed
        {"trailing %", "s", 0},
        {"%c%x", "dd", 1},
        {"W:%.999999999f", "f", 0},             // a huge precision stalls every frame
        {"%999999999s", "s", 0},               // so does a huge width
        {"%-64s|%.64f", "sf", 1},              // the widest allowed
        {"%65s", "s", 0},
        {"%.65f", "f", 0},
        {"%0000000000000000000064d", "d", 1},  // flags, then a width of 64
        {"%99999999999999999999999d", "d", 0}, // a width that would overflow an int
    };
    for (const auto &c : cases)
        EXPECT_EQ(formatTakesConversions(c.format, c.conversions), c.accepted)
            << c.format << " with " << c.conversions;
}

} // namespace
