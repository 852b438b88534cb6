// Placeholder so the render/x library is never empty.
