// The pure half of every dialog: no X headers, tested without a display.
//
// A dialog is a DialogSpec: a static table of its controls, the size of its
// value record (a plain struct with one field per control that shows a
// value) and three functions of that record:
//   fill(chart, app, values)         what the controls show when it opens
//   sensitivity(values, sensitive)   which controls can be used (optional)
//   ok(values, chart, app, result)   the command texts to send, in order, or
//                                    a refusal (message resource, argument);
//                                    it may note in the record's kept part
//                                    what the next opening shows again
// The Motif half (ui/dialogs/dialog_motif.h) builds the widgets from the
// table, shows the record and reads it back; it knows no single dialog.
#pragma once

#include <cstddef>
#include <cstdint>

#include "command/interpreter.h"

struct AppData;
struct ChartState;

enum DialogControlClass : uint8_t {
    kControlRowColumn, // holds the rows that name it as parent
    kControlLabel,
    kControlTextField,
    kControlToggle,
    kControlList,       // a scrolled list
    kControlSeparator,
    kControlArrowButton, // a spin arrow: its direction as a fixed resource ("arrowDirection")
    kControlPushButton,  // a button of the dialog's own besides OK and Cancel
    kControlForm,        // holds rows too, placed by their x and y resources
    kControlOptionMenu,  // items: the names of its pulldown's buttons
};

// What a control shows from the value record.
enum DialogFieldKind : uint8_t {
    kFieldNone,
    kFieldText,         // char[size]
    kFieldToggle,       // ToggleValue
    kFieldListPosition, // int32_t: 1 for the first item, 0 for none selected
                        // (an option menu: its chosen button)
    kFieldListSelection, // uint32_t: bit p - 1 set when item p is selected
                         // (lists that select several items; 32 at most)
    kFieldItems,         // DialogItems: a list whose items the record holds
};

// A toggle's value. Mixed is the third state: a toggle standing for several
// objects whose own states differ.
enum ToggleValue : int8_t { kToggleOff = 0, kToggleOn = 1, kToggleMixed = 2 };

// A list the dialog's record holds, items and selection: the dialog adds,
// deletes and selects items (a file's path) through the
// routines below; the Motif half shows each item (spec->itemShown, else the
// text itself) and reads the selection back. Freed by the kit when the
// record is cleared for fill and when the dialog goes.
constexpr int kDialogItemSize = 256;
struct DialogItems {
    char (*texts)[kDialogItemSize]; // malloc'd, count used of capacity
    int count, capacity;
    int32_t position;               // the selected item, 1-based; 0 none
    uint32_t changes;               // counts changes of the items, so the list is rewritten only after one
};

// Appends text (cut to kDialogItemSize - 1 bytes) and selects it; 0 when
// the list cannot grow.
int dialogItemsAdd(DialogItems *items, const char *text);
// Removes the item at position; the selection is then the item now there,
// the new last, or none. Returns the new selection (0 also when position
// named no item, which changes nothing).
int dialogItemsDelete(DialogItems *items, int position);
void dialogItemsFree(DialogItems *items);

// A resource the table fixes for a control, such as a text field's columns
// (words the user reads come from the resource files instead). Name and value
// are written as in a resource file ("columns", "6"; "orientation",
// "horizontal") and converted the same way.
struct DialogFixedResource {
    const char *name;
    const char *value;
};
constexpr int kDialogFixedResourceCount = 2;

struct DialogControl {
    const char *name;          // widget name, hence resource name
    DialogControlClass cls;
    int parent;                // row of a row-column or form earlier in the table;
                               // kDialogButtonsParent: the buttons' row;
                               // kDialogMainParent: the dialog's "...RowColumn"
    DialogFixedResource fixed[kDialogFixedResourceCount]; // unused rows {nullptr, nullptr}
    DialogFieldKind field;
    size_t offset;             // of the field in the value record
    size_t size;               // text fields: the field's size, terminator included
    const char *const *items;  // lists: the items (command keywords), null-ended;
                               // null for a list whose items spec->listItems gives
                               // or the record holds (kFieldItems)
};
constexpr int kDialogMainParent = -1;
constexpr int kDialogButtonsParent = -2; // the "...Buttons" row, after OK and Cancel

// What OK hands on: the command texts in sending order, or a refusal.
constexpr int kDialogMaxCommands = 32;
constexpr int kDialogResourceNameSize = 64;
struct DialogResult {
    int refused;
    char messageResource[kDialogResourceNameSize];
    char argument[kStkTextSize];
    int commandCount;
    char commands[kDialogMaxCommands][kStkTextSize];
    int stayOpen; // nothing to send and nothing to say: the dialog stays as it is
};

struct DialogSpec {
    const char *name;           // the dialog's widget name
    const DialogControl *controls;
    int controlCount;
    size_t valuesSize;          // of the value record
    void (*fill)(const ChartState *chart, const AppData *app, void *values);
    // One byte per control row, 1 when it can be used; null: all can.
    void (*sensitivity)(const void *values, uint8_t *sensitive);
    void (*ok)(void *values, const ChartState *chart, const AppData *app, DialogResult *out);

    // Optional; a dialog that leaves them out behaves as above.
    // After the user changed control row `control` (its new value already in
    // values), the dialog may change other fields of the record; 1 asks for
    // the controls to show the record again.
    int (*changed)(void *values, int control) = nullptr;
    // Lists whose items are known only at run time (localized or loaded
    // names): the items of list row `control`, asked at every opening before
    // fill; the storage is the dialog's and lasts until its next call.
    const char *const *(*listItems)(const ChartState *chart, const AppData *app, int control, int *count) = nullptr;
    // 1: a double click on a list item acts as OK.
    int listDoubleClickIsOk = 0;
    // The names of the control and button row-columns when they are not the
    // dialog's name with "RowColumn" and "Buttons". A buttons name that names
    // a row-column or form of the table puts OK and Cancel there, before its
    // own rows, instead of in a row of their own under the controls.
    const char *rowColumnName = nullptr;
    const char *buttonsName = nullptr;
    // After an accepted OK, before the command texts run: the changes of the
    // application record that the dialog makes itself. Null: none.
    void (*accepted)(const void *values, ChartState *chart) = nullptr;
    // The dialog's remembered choices: the record's bytes from keptOffset on
    // are zeroed when the dialog is built and left as ok wrote them at every
    // later opening, so fill finds them there. 0: nothing is kept.
    size_t keptOffset = 0;
    // What a kFieldItems list shows of its item text (a path's file name);
    // null: the text itself. The storage may be the text's or static.
    const char *(*itemShown)(int control, const char *text) = nullptr;
    // Frees what the record owns besides its item lists (a list of its own
    // that fill made), before the record is cleared for fill and when the
    // dialog goes. Null: nothing.
    void (*release)(void *values) = nullptr;
};

// The item list a control shows, inside values; null when it shows none.
DialogItems *dialogItemsField(void *values, const DialogControl *control);
// Clears a record for fill: every byte but the kept part (item lists there
// freed first, and what spec->release frees).
void dialogValuesClearForFill(const DialogSpec *spec, void *values);
// Frees every item list of the record, kept part included, and what
// spec->release frees (the dialog goes).
void dialogValuesRelease(const DialogSpec *spec, void *values);

// Message resources of the refusals the kit itself makes; each takes the
// offending text as its one argument.
extern const char kDialogRefusedText[];   // a text that cannot travel as one statement
extern const char kDialogNotANumber[];    // a field that must hold a number

void dialogResultClear(DialogResult *r);

// Sets the refusal (the first one stands: later calls change nothing) and
// drops the texts added before it: a refused OK sends nothing. Nothing is
// added after a refusal.
void dialogRefuse(DialogResult *r, const char *messageResource, const char *argument);

// Appends one command text, printf-style. A text that would not fit one
// statement (kStkTextSize - 1 characters), holds a ";", carriage return or
// newline (which would split it into several statements) or overflows the
// list refuses the whole OK with kDialogRefusedText. Returns 1 when appended.
int dialogAddCommand(DialogResult *r, const char *format, ...) __attribute__((format(printf, 2, 3)));

// The same for one text that is several statements on purpose ("LOOK MARS;
// BLINK MARS"): ";" passes, the length and line-end checks stand. Names put
// into such a text must have passed isSendableName before.
int dialogAddStatements(DialogResult *r, const char *format, ...) __attribute__((format(printf, 2, 3)));

// A display toggle: "SHOW keyword" or "HIDE keyword"; a mixed toggle sends
// nothing, so that each object keeps its own state. Returns as dialogAddCommand
// (1 for a mixed toggle).
int dialogAddToggleCommand(DialogResult *r, ToggleValue value, const char *keyword);

// The value of a text field that must be a number (blanks around it
// allowed): 1 with *out, else 0 and the refusal kDialogNotANumber with the text.
int dialogReadNumber(DialogResult *r, const char *text, double *out);

// A spin arrow on a number field: the field read as an integer (no digits:
// 0), step added, the result held within lo..hi and written back as "%d".
// Nothing carries into another field.
void dialogSpinField(char *text, size_t size, int step, int lo, int hi);

// The three-state value of a bit over several display bytes: on when every
// byte has it, off when none has, mixed otherwise (off for count 0).
ToggleValue toggleValueOfBits(const uint8_t *bytes, int count, uint8_t bit);

// The field a control shows, inside values; null when the control shows none
// or its kind does not match.
char *dialogTextField(void *values, const DialogControl *control);
ToggleValue *dialogToggleField(void *values, const DialogControl *control);
int32_t *dialogListField(void *values, const DialogControl *control);
uint32_t *dialogSelectionField(void *values, const DialogControl *control);

// Checks a table: names present and unique; each parent an earlier
// row-column or form; a buttons row of the table a row-column or form that
// comes before every row placed in the buttons' row; each field inside the
// record and before its kept part, of the kind its class shows
// (text field: text of size >= 2, toggle: toggle, list: list position with
// items, or several-item selection; the items may come from listItems;
// or the record's item list) and
// no two controls on one field. 1 when sound; else 0 and why.
int dialogSpecCheck(const DialogSpec *spec, char *why, int whySize);

// The index of the row named name, or -1.
int dialogControlIndex(const DialogSpec *spec, const char *name);

// The row of the table that holds OK and Cancel, or -1 for a row of their own.
int dialogButtonsRow(const DialogSpec *spec);
