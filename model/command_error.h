// The pending command error: a handler or a reader records it, and the
// interpreter reports it once the statement has run. It lives in the
// application record (errorId, errorArg).
#pragma once

// Records a command error: id (a message resource name, cut to 31
// characters) and the offending text (cut to 39; null gives empty). A later
// call overwrites an earlier one. The interpreter reports it after the statement.
void stkSetError(const char *id, const char *text);

// Empties errorId and errorArg (errorMessage keeps the last message).
void stkClearError();
