// Placeholder so the command library is never empty.
