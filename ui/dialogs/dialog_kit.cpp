#include "ui/dialogs/dialog_kit.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "command/parameters.h"
#include "model/lexing.h"

const char kDialogRefusedText[] = "messageDialogRefusedText";
const char kDialogNotANumber[] = "messageDialogNotANumber";

namespace {

bool fieldFits(const DialogSpec *spec, const DialogControl &c, size_t width)
{
    return c.offset <= spec->valuesSize && width <= spec->valuesSize - c.offset;
}

size_t fieldWidth(const DialogControl &c)
{
    switch (c.field) {
    case kFieldText: return c.size;
    case kFieldToggle: return sizeof(ToggleValue);
    case kFieldListPosition: return sizeof(int32_t);
    case kFieldListSelection: return sizeof(uint32_t);
    case kFieldItems: return sizeof(DialogItems);
    default: return 0;
    }
}

DialogFieldKind fieldOfClass(DialogControlClass cls)
{
    switch (cls) {
    case kControlTextField: return kFieldText;
    case kControlToggle: return kFieldToggle;
    case kControlList:
    case kControlOptionMenu: return kFieldListPosition;
    default: return kFieldNone;
    }
}

int fail(char *why, int whySize, const char *name, const char *what)
{
    std::snprintf(why, static_cast<size_t>(whySize), "%s: %s", name ? name : "(no name)", what);
    return 0;
}

} // namespace

void dialogResultClear(DialogResult *r)
{
    std::memset(r, 0, sizeof *r);
}

DialogItems *dialogItemsField(void *values, const DialogControl *control)
{
    if (control->field != kFieldItems)
        return nullptr;
    return reinterpret_cast<DialogItems *>(static_cast<char *>(values) + control->offset);
}

void dialogValuesClearForFill(const DialogSpec *spec, void *values)
{
    const size_t cleared = spec->keptOffset > 0 && spec->keptOffset < spec->valuesSize ? spec->keptOffset
                                                                                      : spec->valuesSize;
    for (int i = 0; i < spec->controlCount; i++)
        if (DialogItems *items = dialogItemsField(values, &spec->controls[i]))
            if (spec->controls[i].offset < cleared)
                dialogItemsFree(items);
    if (spec->release)
        spec->release(values);
    std::memset(values, 0, cleared);
}

void dialogValuesRelease(const DialogSpec *spec, void *values)
{
    for (int i = 0; i < spec->controlCount; i++)
        if (DialogItems *items = dialogItemsField(values, &spec->controls[i]))
            dialogItemsFree(items);
    if (spec->release)
        spec->release(values);
}

int dialogItemsAdd(DialogItems *items, const char *text)
{
    if (items->count == items->capacity) {
        const int capacity = items->capacity > 0 ? items->capacity * 2 : 16;
        void *more = std::realloc(items->texts, static_cast<size_t>(capacity) * kDialogItemSize);
        if (!more)
            return 0;
        items->texts = static_cast<char (*)[kDialogItemSize]>(more);
        items->capacity = capacity;
    }
    strCopyBounded(items->texts[items->count], kDialogItemSize, text);
    items->count++;
    items->position = items->count;
    items->changes++;
    return 1;
}

int dialogItemsDelete(DialogItems *items, int position)
{
    if (position < 1 || position > items->count)
        return 0;
    std::memmove(items->texts[position - 1], items->texts[position],
                 static_cast<size_t>(items->count - position) * kDialogItemSize);
    items->count--;
    items->position = position <= items->count ? position : items->count;
    items->changes++;
    return items->position;
}

void dialogItemsFree(DialogItems *items)
{
    std::free(items->texts);
    const uint32_t changes = items->changes;
    *items = DialogItems{};
    items->changes = changes + 1;
}

void dialogRefuse(DialogResult *r, const char *messageResource, const char *argument)
{
    if (r->refused)
        return;
    r->refused = 1;
    r->commandCount = 0; // a refused OK sends nothing, not the texts before the fault
    strCopyBounded(r->messageResource, sizeof r->messageResource, messageResource);
    strCopyBounded(r->argument, sizeof r->argument, argument);
}

static int addText(DialogResult *r, const char *stops, const char *format, va_list args)
{
    if (r->refused)
        return 0;
    char text[kStkTextSize * 2];
    const int n = std::vsnprintf(text, sizeof text, format, args);
    if (n < 0) {
        dialogRefuse(r, kDialogRefusedText, format);
        return 0;
    }
    // A text the interpreter would refuse, cut or split is refused here, where
    // the user can still correct the field.
    if (static_cast<size_t>(n) >= kStkTextSize || std::strpbrk(text, stops) != nullptr ||
        r->commandCount >= kDialogMaxCommands) {
        dialogRefuse(r, kDialogRefusedText, text);
        return 0;
    }
    std::memcpy(r->commands[r->commandCount], text, static_cast<size_t>(n) + 1);
    r->commandCount++;
    return 1;
}

int dialogAddCommand(DialogResult *r, const char *format, ...)
{
    va_list args;
    va_start(args, format);
    const int added = addText(r, ";\r\n", format, args);
    va_end(args);
    return added;
}

int dialogAddStatements(DialogResult *r, const char *format, ...)
{
    va_list args;
    va_start(args, format);
    const int added = addText(r, "\r\n", format, args);
    va_end(args);
    return added;
}

int dialogAddToggleCommand(DialogResult *r, ToggleValue value, const char *keyword)
{
    if (value == kToggleMixed)
        return 1;
    return dialogAddCommand(r, "%s %s", value == kToggleOn ? "SHOW" : "HIDE", keyword);
}

int dialogReadNumber(DialogResult *r, const char *text, double *out)
{
    char *end = nullptr;
    const double v = std::strtod(text, &end);
    if (end != text) {
        while (*end == ' ' || *end == '\t')
            end++;
        if (*end == '\0') {
            *out = v;
            return 1;
        }
    }
    dialogRefuse(r, kDialogNotANumber, text);
    return 0;
}

void dialogSpinField(char *text, size_t size, int step, int lo, int hi)
{
    // In 64 bits: a field of int32's limits plus a step does not overflow.
    long long v = static_cast<long long>(stkParamInt(text)) + step;
    if (v < lo)
        v = lo;
    if (v > hi)
        v = hi;
    std::snprintf(text, size, "%lld", v);
}

ToggleValue toggleValueOfBits(const uint8_t *bytes, int count, uint8_t bit)
{
    int set = 0;
    for (int i = 0; i < count; i++)
        if (bytes[i] & bit)
            set++;
    if (set == 0)
        return kToggleOff;
    return set == count ? kToggleOn : kToggleMixed;
}

char *dialogTextField(void *values, const DialogControl *control)
{
    if (control->field != kFieldText)
        return nullptr;
    return static_cast<char *>(values) + control->offset;
}

ToggleValue *dialogToggleField(void *values, const DialogControl *control)
{
    if (control->field != kFieldToggle)
        return nullptr;
    return reinterpret_cast<ToggleValue *>(static_cast<char *>(values) + control->offset);
}

int32_t *dialogListField(void *values, const DialogControl *control)
{
    if (control->field != kFieldListPosition)
        return nullptr;
    return reinterpret_cast<int32_t *>(static_cast<char *>(values) + control->offset);
}

uint32_t *dialogSelectionField(void *values, const DialogControl *control)
{
    if (control->field != kFieldListSelection)
        return nullptr;
    return reinterpret_cast<uint32_t *>(static_cast<char *>(values) + control->offset);
}

int dialogSpecCheck(const DialogSpec *spec, char *why, int whySize)
{
    if (!spec->name || !spec->name[0])
        return fail(why, whySize, spec->name, "the dialog has no name");
    if (!spec->fill || !spec->ok)
        return fail(why, whySize, spec->name, "fill and ok are required");
    for (int i = 0; i < spec->controlCount; i++)
        if (!spec->controls[i].name || !spec->controls[i].name[0])
            return fail(why, whySize, spec->name, "a control has no name");
    const int buttonsRow = dialogButtonsRow(spec);
    if (buttonsRow >= 0 && spec->controls[buttonsRow].cls != kControlRowColumn &&
        spec->controls[buttonsRow].cls != kControlForm)
        return fail(why, whySize, spec->buttonsName, "the buttons' row is not a row-column or form");
    for (int i = 0; i < spec->controlCount; i++) {
        const DialogControl &c = spec->controls[i];
        if (c.parent == kDialogButtonsParent && i < buttonsRow)
            return fail(why, whySize, c.name, "placed in the buttons' row before the row is made");
        for (int j = 0; j < i; j++)
            if (std::strcmp(spec->controls[j].name, c.name) == 0)
                return fail(why, whySize, c.name, "named twice");
        if (c.parent != kDialogMainParent && c.parent != kDialogButtonsParent &&
            (c.parent < 0 || c.parent >= i ||
             (spec->controls[c.parent].cls != kControlRowColumn && spec->controls[c.parent].cls != kControlForm)))
            return fail(why, whySize, c.name, "its parent is not an earlier row-column or form");
        if (c.field != fieldOfClass(c.cls) &&
            !(c.cls == kControlList && (c.field == kFieldListSelection || c.field == kFieldItems)))
            return fail(why, whySize, c.name, "its field does not suit its class");
        if (c.field == kFieldNone)
            continue;
        if (c.field == kFieldText && c.size < 2)
            return fail(why, whySize, c.name, "a text field needs room for a character");
        // A list's items are the table's, spec->listItems' or the record's.
        if (c.cls == kControlList && c.field != kFieldItems && !spec->listItems && (!c.items || !c.items[0]))
            return fail(why, whySize, c.name, "a list needs items");
        if (c.field == kFieldItems && c.items)
            return fail(why, whySize, c.name, "a list of the record's items has no fixed ones");
        if (c.cls == kControlOptionMenu && (!c.items || !c.items[0]))
            return fail(why, whySize, c.name, "an option menu needs buttons");
        if (!fieldFits(spec, c, fieldWidth(c)))
            return fail(why, whySize, c.name, "its field lies outside the value record");
        if (spec->keptOffset > 0 && c.offset + fieldWidth(c) > spec->keptOffset)
            return fail(why, whySize, c.name, "its field lies in the record's kept part");
        for (int j = 0; j < i; j++) {
            const DialogControl &o = spec->controls[j];
            if (o.field != kFieldNone && c.offset < o.offset + fieldWidth(o) &&
                o.offset < c.offset + fieldWidth(c))
                return fail(why, whySize, c.name, "shares its field with another control");
        }
    }
    return 1;
}

int dialogControlIndex(const DialogSpec *spec, const char *name)
{
    for (int i = 0; i < spec->controlCount; i++)
        if (std::strcmp(spec->controls[i].name, name) == 0)
            return i;
    return -1;
}

int dialogButtonsRow(const DialogSpec *spec)
{
    return spec->buttonsName ? dialogControlIndex(spec, spec->buttonsName) : -1;
}
