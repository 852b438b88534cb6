// Numbers typed into text fields, read as command parameters are read.
#pragma once

#include <X11/Intrinsic.h>

// The field's text as a decimal integer: leading blanks skipped, reading
// stops at the first character that does not fit, no digits gives 0.
int textFieldInt(Widget field);

// The same for a floating-point number.
double textFieldReal(Widget field);
