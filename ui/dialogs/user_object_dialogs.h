// The User Object dialog, pure half: the list of user-object files it
// edits, the checks of Add and the command texts of OK.
#pragma once

#include <cstdint>

#include "model/user_objects.h"
#include "ui/dialogs/dialog_kit.h"

// The listed files in list order, full paths: the kit's item list, which the
// dialog's record holds.
using UserObjectPathList = DialogItems;
static_assert(kUserObjectPathSize <= kDialogItemSize, "a listed path is one item");

// The chart's user-object files in load order, the first selected; 0 when
// the list cannot grow.
int userObjectListFromChart(const ChartState *chart, UserObjectPathList *list);
void userObjectListFree(UserObjectPathList *list);

// What a list item shows of a path: the part after its last "/".
const char *userObjectItemName(const char *path);

// Add: refuses a path already listed (messageObjectAlreadySelected), one that
// cannot travel in LOAD AD "path" or does not fit a path field, or a file
// that cannot be read (messageCannotOpenFile), each with the path; the
// system's own refusal (messageSystemOutOfMemory) when the list cannot grow.
// 1 when appended.
int userObjectListAdd(UserObjectPathList *list, const char *path, DialogResult *refusal);

// Delete: removes the item at position (1-based) and gives the position to
// select then: the item now there, the new last, or 0 when none is left.
int userObjectListDelete(UserObjectPathList *list, int position);

// The texts OK sends into result, in order (as userObjectOkCommands says).
void userObjectDialogOk(const UserObjectPathList *list, DialogResult *result);

// OK: every listed path is checked before anything is sent (UNLOAD AD never
// drops files that could not be loaded back); then send gets "UNLOAD AD",
// one LOAD AD "path" per file in list order and "DRIVE". 0 with the refusal
// when a path cannot be sent.
int userObjectOkCommands(const UserObjectPathList *list, void (*send)(void *context, const char *text),
                         void *context, DialogResult *refusal);

// The directory of path for the next Add (the path cut at its last "/" when
// something follows it), into dir; 0 when there is none.
int userObjectDirectoryOf(const char *path, char *dir, int size);

struct UserObjectDialogValues {
    UserObjectPathList files; // UserObjectList: the listed files, the selected one
    int32_t incomplete;       // 1 when fill could not list every loaded file
};
extern const DialogSpec kUserObjectDialog;

extern const char kMessageObjectAlreadySelected[];
