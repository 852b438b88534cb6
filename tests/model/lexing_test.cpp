// The tokenizer's rules, as listed at the top of model/lexing.cpp, one
// row per case.
#include "model/lexing.h"

#include <clocale>
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

TEST(Tokenizer, AnEndedTextStaysEnded)
{
    char buffer[] = "MODE HRZ";
    StkTokenizer state;
    EXPECT_STREQ(stkNextTokenIn(&state, buffer, 0), "MODE");
    EXPECT_STREQ(stkNextTokenIn(&state, nullptr, 1), "HRZ");
    EXPECT_EQ(stkNextTokenIn(&state, nullptr, 1), nullptr);
    EXPECT_EQ(stkNextTokenIn(&state, nullptr, 1), nullptr);
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

// Case rules must not follow the locale: under a Latin-1 locale toupper
// turns \xe9 into \xc9, which would make a Latin-1 name differ between
// locales and compare equal to another name.
TEST(TextHelpers, AsciiCaseWhateverTheLocale)
{
    for (const char *locale : {"C", "en_US.ISO-8859-1", "en_US.iso88591"}) {
        if (!std::setlocale(LC_CTYPE, locale))
            continue;
        SCOPED_TRACE(locale);
        char name[] = "\xe9toile b\xe4r";
        EXPECT_STREQ(strUpper(name), "\xe9TOILE B\xe4R");
        EXPECT_STREQ(strLower(name), "\xe9toile b\xe4r");
        EXPECT_EQ(strEqualNoCase("\xe9", "\xc9"), 0);
        EXPECT_EQ(strEqualNoCase("io", "IO"), 1);
        EXPECT_EQ(strEqualNoCase("OF", "OFF"), 0);
        EXPECT_EQ(strEqualNoCase("OFF", "OF"), 0);
        EXPECT_EQ(strEqualNoCase(nullptr, "OFF"), 0) << "a missing parameter matches no keyword";
        EXPECT_EQ(strPrefixNoCase("alphaOri", "ALPHA", 5), 1);
        EXPECT_EQ(strPrefixNoCase("alp", "ALPHA", 5), 0) << "a shorter text is no prefix";
        EXPECT_EQ(stkUpperAscii('\xe9'), '\xe9');
    }
    std::setlocale(LC_CTYPE, "C");
}

TEST(TextHelpers, BoundedCopyAndBlanks)
{
    struct Case {
        const char *src;
        int size;
        int fits;
        const char *result;
    } cases[] = {
        {"abc", 4, 1, "abc"},
        {"abcd", 4, 0, "abc"},
        {nullptr, 4, 1, ""},
        {"", 1, 1, ""},
        {"a", 1, 0, ""},
    };
    for (const Case &c : cases) {
        char buf[8] = "zzzzzzz";
        EXPECT_EQ(strCopyBounded(buf, c.size, c.src), c.fits) << c.src;
        EXPECT_STREQ(buf, c.result);
    }
    char untouched[4] = "xyz";
    EXPECT_EQ(strCopyBounded(untouched, 0, "a"), 0);
    EXPECT_EQ(strCopyBounded(untouched, -5, "a"), 0) << "a negative size writes nothing";
    EXPECT_STREQ(untouched, "xyz");

    EXPECT_EQ(strTrimmedLength("ab \t "), 2u);
    EXPECT_EQ(strTrimmedLength(" a"), 2u) << "leading blanks stay";
    EXPECT_EQ(strIsBlank(" \t"), 1);
    EXPECT_EQ(strIsBlank(nullptr), 1);
    EXPECT_EQ(strIsBlank(" x "), 0);
}

TEST(Keywords, LookUpUpperCasesAndFindsTheFirstRow)
{
    static const KeywordEntry table[] = {{"STAR", 1}, {"\271\261\300\261", 1}, {"NEBULA", 2}, {"NEBULA", 3}, {nullptr, 0}};
    int32_t code = -1;
    char word[] = "nebula";
    EXPECT_EQ(stkLookupKeyword(word, table, &code), 1);
    EXPECT_EQ(code, 2) << "the first exact row wins";
    EXPECT_STREQ(word, "NEBULA") << "the word is upper-cased in place";
    char euc[] = "\271\261\300\261";
    EXPECT_EQ(stkLookupKeyword(euc, table, &code), 1) << "bytes above 127 compare as they are";
    EXPECT_EQ(code, 1);
    char absent[] = "nebul";
    EXPECT_EQ(stkLookupKeyword(absent, table, &code), 0);
    EXPECT_EQ(stkLookupKeyword(nullptr, table, &code), 0);

    const char typed[] = "star";
    EXPECT_EQ(stkLookupKeywordCopy(typed, table, &code), 1);
    EXPECT_STREQ(typed, "star");
    std::string longWord(kStkWordSize, 'A');
    EXPECT_EQ(stkLookupKeywordCopy(longWord.c_str(), table, &code), 0) << "a cut word must not match";

    EXPECT_STREQ(stkKeywordName(table, 1), "STAR");
    EXPECT_EQ(stkKeywordName(table, 9), nullptr);
}

} // namespace
