// Placeholder so the model library is never empty.
