#include "ui/widgets/text_field.h"

#include <Xm/Text.h>
#include <Xm/TextF.h>

#include "command/parameters.h"

namespace {

template <class T> T readField(Widget field, T (*parse)(const char *))
{
    char *text = XmIsTextField(field) ? XmTextFieldGetString(field) : XmTextGetString(field);
    const T value = parse(text ? text : "");
    XtFree(text);
    return value;
}

} // namespace

int textFieldInt(Widget field) { return readField<int32_t>(field, stkParamInt); }

double textFieldReal(Widget field) { return readField<double>(field, stkParamReal); }
