// The command language's tokenizer, shared by the interpreter and the
// scene-file, user-object and click-data readers. Its rules are listed at the
// top of model/lexing.cpp.
#pragma once

#include <cstdint>

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

// The same on one tokenizer shared by callers that tokenise one text at a time.
char *stkNextToken(char *text, int afterWord);
