// Tokenizer rules, the cases it handles (tests/model/lexing_test.cpp
// checks this same list as a table):
//
//  1. Separators are blank, tab and comma. A token ends at NUL or carriage
//     return, which ends the text: the next call gives null.
//  2. Blanks and tabs before a token are skipped, at the start of a text and
//     between tokens.
//  3. A blank or tab after a token's first character ends it.
//  4. A comma ends a token. A comma right after another comma, or right after
//     the command word and its blank, gives an empty token, which the
//     interpreter passes on as an omitted parameter:
//     "DATE 2000,,15" -> DATE, 2000, "", 15 and "LOOK , 5" -> LOOK, "", 5.
//  5. After a parameter (afterWord 1), the blanks behind it and then one
//     comma are skipped, so "a b", "a,b", "a , b" and "a, b" all give a, b.
//     After the command word nothing is folded (rule 4).
//  6. A double quote at a token's start quotes it: the token runs to the next
//     double quote, and blanks, tabs and commas inside belong to it; the
//     closing quote ends the token like a blank (rule 5 applies after it), so
//     '"a b",5' gives "a b", 5. Without a closing quote the token is the rest
//     of the text and the text has ended; a closing quote at the end of the
//     text ends it too. '""' is an empty token.
//  7. A text that holds nothing but blanks gives one empty token, then null;
//     an empty text likewise.
#include "model/lexing.h"

#include <cstring>


namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool endsText(char c) { return c == '\0' || c == '\r'; }

// Skips the blanks after a parameter and then one comma (rule 5).
char *foldSeparators(char *p)
{
    while (isBlank(*p))
        p++;
    if (*p == ',')
        p++;
    return p;
}

} // namespace

char *stkNextTokenIn(StkTokenizer *state, char *text, int afterWord)
{
    char *p;
    if (text) {
        p = text;
        state->ended = 0;
    } else {
        if (state->ended || !state->scan)
            return nullptr;
        p = state->scan;
    }
    while (isBlank(*p))
        p++;
    char *token = p;

    if (*p == '"') {
        token = ++p;
        while (!endsText(*p) && *p != '"')
            p++;
        if (*p != '"') {
            *p = '\0';
            state->ended = 1;
            state->scan = p;
            return token;
        }
        *p++ = '\0';
        if (endsText(*p))
            state->ended = 1;
        state->scan = afterWord ? foldSeparators(p) : p;
        return token;
    }

    for (;; p++) {
        if (endsText(*p)) {
            *p = '\0';
            state->ended = 1;
            state->scan = p;
            return token;
        }
        if (isBlank(*p)) {
            *p++ = '\0';
            state->scan = afterWord ? foldSeparators(p) : p;
            return token;
        }
        if (*p == ',') {
            *p++ = '\0';
            state->scan = p;
            return token;
        }
    }
}

// ---- text helpers ------------------------------------------------------------

char stkUpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

namespace {

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

} // namespace

char *strUpper(char *s)
{
    for (char *p = s; p && *p; ++p)
        *p = stkUpperAscii(*p);
    return s;
}

char *strLower(char *s)
{
    for (char *p = s; p && *p; ++p)
        *p = lowerAscii(*p);
    return s;
}

int strEqualNoCase(const char *a, const char *b)
{
    if (!a || !b)
        return 0;
    for (;; ++a, ++b) {
        const char ca = stkUpperAscii(*a);
        if (ca != stkUpperAscii(*b))
            return 0;
        if (ca == '\0')
            return 1;
    }
}

int strPrefixNoCase(const char *text, const char *prefix, size_t n)
{
    if (!text || !prefix)
        return 0;
    for (size_t i = 0; i < n; ++i) {
        const char a = stkUpperAscii(text[i]);
        if (a != stkUpperAscii(prefix[i]) || a == '\0')
            return 0;
    }
    return 1;
}

int strCopyBounded(char *dest, int size, const char *src)
{
    if (!dest || size <= 0)
        return 0;
    size_t n = src ? std::strlen(src) : 0;
    const size_t room = static_cast<size_t>(size) - 1;
    const int fits = n <= room;
    if (!fits)
        n = room;
    if (n > 0)
        std::memcpy(dest, src, n);
    dest[n] = '\0';
    return fits;
}

size_t strTrimmedLength(const char *s)
{
    if (!s)
        return 0;
    size_t n = std::strlen(s);
    while (n > 0 && isBlank(s[n - 1]))
        --n;
    return n;
}

int strIsBlank(const char *s) { return strTrimmedLength(s) == 0; }

// ---- keywords ------------------------------------------------------------------

int stkLookupKeyword(char *word, const KeywordEntry *table, int32_t *code)
{
    if (!word || !table)
        return 0;
    strUpper(word);
    for (const KeywordEntry *row = table; row->keyword; row++) {
        if (std::strcmp(word, row->keyword) == 0) {
            if (code)
                *code = row->code;
            return 1;
        }
    }
    return 0;
}

int stkLookupKeywordCopy(const char *word, const KeywordEntry *table, int32_t *code)
{
    char copy[kStkWordSize];
    return word && strCopyBounded(copy, sizeof copy, word) && stkLookupKeyword(copy, table, code);
}

const char *stkKeywordName(const KeywordEntry *table, int32_t code)
{
    for (const KeywordEntry *row = table; row && row->keyword; row++)
        if (row->code == code)
            return row->keyword;
    return nullptr;
}

int isSendableName(const char *name, size_t room)
{
    // A quote would end the quoted name early, ";", CR and LF the statement.
    return name != nullptr && std::strpbrk(name, "\";\r\n") == nullptr && std::strlen(name) < room;
}
