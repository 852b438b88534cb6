// Placeholder so the ui library is never empty.
