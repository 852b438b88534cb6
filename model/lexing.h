// The command language's lexing, shared by the interpreter, the command
// handlers and model's readers (scene files, user objects, click data, the
// position parser): the tokenizer, whose rules are listed at the top of
// model/lexing.cpp, keyword look-up and the text helpers. The command error
// they report is model/command_error.h's.
#pragma once

#include <cstddef>
#include <cstdint>

// ---- text helpers ------------------------------------------------------------
// Case rules are ASCII only, whatever the locale: bytes above 127 (Latin-1
// and EUC-JP names) never change, so a name reads the same in every locale.

// ASCII upper case of one character; other bytes unchanged.
char stkUpperAscii(char c);

// Change case in place (ASCII letters only); return s. A null s is returned as is.
char *strUpper(char *s);
char *strLower(char *s);

// 1 when a and b are equal ignoring ASCII case; 0 when not or when either is
// null (so a missing parameter never matches a keyword).
int strEqualNoCase(const char *a, const char *b);

// 1 when the first n characters of text equal prefix's ignoring ASCII case
// (text may be shorter than n: then 0).
int strPrefixNoCase(const char *text, const char *prefix, size_t n);

// Copies src (null gives "") into dest of size bytes: at most size - 1
// characters and a terminator. 1 when all of it fitted, 0 when it was cut
// (or size is 0 or less, which writes nothing).
int strCopyBounded(char *dest, int size, const char *src);

// Blanks are space and tab. The length of s without its trailing blanks, and
// whether s holds nothing else (a null s counts as blank).
size_t strTrimmedLength(const char *s);
int strIsBlank(const char *s);

// ---- keywords ------------------------------------------------------------------

// A keyword table row; a table ends with a row whose keyword is null.
struct KeywordEntry {
    const char *keyword;
    int32_t code;
};

// Upper-cases word in place (ASCII only; bytes above 127 stay), then finds it
// exactly in table. 1 and *code set when found; 0 when word is null or absent.
int stkLookupKeyword(char *word, const KeywordEntry *table, int32_t *code);

// The same on a copy, so word stays as typed for the error message. A word
// of kStkWordSize characters or more matches nothing.
constexpr int kStkWordSize = 260;
int stkLookupKeywordCopy(const char *word, const KeywordEntry *table, int32_t *code);

// The keyword of the first row with code; null when no row has it.
const char *stkKeywordName(const KeywordEntry *table, int32_t code);

// ---- command text -------------------------------------------------------------

// 1 when name may go into command text that is room bytes long, NUL
// included: it holds no double quote (it would end a quoted name), no ";",
// CR or LF (they would end the statement) and fits. Every name or path
// written into command text passes it first; null gives 0.
int isSendableName(const char *name, size_t room);

// ---- tokenizer -------------------------------------------------------------------

// Where one text stands between calls. Each reader keeps its own, so a
// statement tokenised inside a handler never disturbs the outer one.
struct StkTokenizer {
    char *scan;  // where the next token starts
    int32_t ended;
};

// The next token of a text, written in place (separators become NUL).
// text non-null starts a new text; null continues the one in `state`.
// afterWord 1 for parameters: the separators after them are folded (rule 5).
// Returns the token (possibly empty) or null when the text has ended.
char *stkNextTokenIn(StkTokenizer *state, char *text, int afterWord);
