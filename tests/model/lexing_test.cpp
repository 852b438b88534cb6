// The tokenizer's rules, as listed at the top of model/lexing.cpp, one
// row per case.
#include "model/lexing.h"

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// Command word with afterWord 0, then parameters with afterWord 1, until null.
std::vector<std::string> tokenize(const char *text)
{
    char buffer[260];
    std::snprintf(buffer, sizeof buffer, "%s", text);
    StkTokenizer state;
    std::vector<std::string> tokens;
    for (char *t = stkNextTokenIn(&state, buffer, 0); t; t = stkNextTokenIn(&state, nullptr, 1)) {
        tokens.push_back(t);
        if (tokens.size() > 30)
            break; // a tokenizer that never ends must fail, not hang
    }
    return tokens;
}

struct TokenCase {
    const char *rule;
    const char *text;
    std::vector<std::string> tokens;
};

const TokenCase kCases[] = {
    {"1 NUL ends the text", "DRIVE", {"DRIVE"}},
    {"1 carriage return ends the text", "MODE HRZ\rDRIVE", {"MODE", "HRZ"}},
    {"1 carriage return right after the word", "DRIVE\rMODE", {"DRIVE"}},
    {"2 leading blanks and tabs skipped", " \t MODE \t HRZ", {"MODE", "HRZ"}},
    {"3 blank ends a token", "MODE HRZ", {"MODE", "HRZ"}},
    {"3 tab ends a token", "MODE\tHRZ", {"MODE", "HRZ"}},
    {"4 comma ends a token", "DATE 2000,1,1", {"DATE", "2000", "1", "1"}},
    {"4 two commas give an empty token", "DATE 2000,,15", {"DATE", "2000", "", "15"}},
    {"4 comma after the word's blank is empty", "LOOK , 5", {"LOOK", "", "5"}},
    {"4 leading comma before the first parameter", "DATE ,,,12", {"DATE", "", "", "", "12"}},
    {"5 blank separates parameters", "LOOK HRZ 180 30", {"LOOK", "HRZ", "180", "30"}},
    {"5 comma with blanks around", "LOOK HRZ 180 , 30", {"LOOK", "HRZ", "180", "30"}},
    {"5 comma then blank", "LOOK HRZ 180, 30", {"LOOK", "HRZ", "180", "30"}},
    {"5 blank then comma", "LOOK HRZ 180 ,30", {"LOOK", "HRZ", "180", "30"}},
    {"5 trailing blanks give a last empty token", "SHOW STAR  ", {"SHOW", "STAR", ""}},
    {"6 quotes keep blanks and commas", "LOCATE 1,2,3,4,\"a b, c\"", {"LOCATE", "1", "2", "3", "4", "a b, c"}},
    {"6 comma behind the closing quote", "X \"a b\",5", {"X", "a b", "5"}},
    {"6 blank and comma behind the closing quote", "X \"a b\" , 5", {"X", "a b", "5"}},
    {"6 no closing quote takes the rest", "STL \"my scene, v2", {"STL", "my scene, v2"}},
    {"6 empty quotes are an empty token", "X \"\" 5", {"X", "", "5"}},
    {"6 quoted command word", "\"DRIVE\"", {"DRIVE"}},
    {"7 blank text", "   ", {""}},
    {"7 empty text", "", {""}},
};

TEST(Tokenizer, RulesTable)
{
    for (const TokenCase &c : kCases)
        EXPECT_EQ(tokenize(c.text), c.tokens) << "rule " << c.rule << ": [" << c.text << "]";
}

TEST(Tokenizer, SharedStateContinuesTheLastText)
{
    char buffer[] = "MODE HRZ";
    EXPECT_STREQ(stkNextToken(buffer, 0), "MODE");
    EXPECT_STREQ(stkNextToken(nullptr, 1), "HRZ");
    EXPECT_EQ(stkNextToken(nullptr, 1), nullptr);
    EXPECT_EQ(stkNextToken(nullptr, 1), nullptr); // stays ended
}

TEST(Tokenizer, TwoStatesDoNotDisturbEachOther)
{
    char outer[] = "SHOW STAR NEBULA";
    char inner[] = "MODE EQT";
    StkTokenizer a, b;
    EXPECT_STREQ(stkNextTokenIn(&a, outer, 0), "SHOW");
    EXPECT_STREQ(stkNextTokenIn(&b, inner, 0), "MODE");
    EXPECT_STREQ(stkNextTokenIn(&a, nullptr, 1), "STAR");
    EXPECT_STREQ(stkNextTokenIn(&b, nullptr, 1), "EQT");
    EXPECT_STREQ(stkNextTokenIn(&a, nullptr, 1), "NEBULA");
    EXPECT_EQ(stkNextTokenIn(&b, nullptr, 1), nullptr);
}

} // namespace
