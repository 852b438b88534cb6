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

#include <cstddef>

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool endsText(char c) { return c == '\0' || c == '\r'; }

StkTokenizer sharedTokenizer = {nullptr, 1};

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

char *stkNextToken(char *text, int afterWord)
{
    return stkNextTokenIn(&sharedTokenizer, text, afterWord);
}
