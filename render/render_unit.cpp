// Placeholder so the render library is never empty.
