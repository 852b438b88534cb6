#include "ui/dialogs/user_object_dialogs.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "command/interpreter.h"
#include "model/chart_state.h"
#include "model/file_input.h"
#include "model/lexing.h"

const char kMessageObjectAlreadySelected[] = "messageObjectAlreadySelected";

namespace {

const char kCannotOpen[] = "messageCannotOpenFile";
const char kLoadFormat[] = "LOAD AD \"%s\"";
constexpr size_t kLoadOverhead = sizeof "LOAD AD \"\"" - 1;

int grow(UserObjectPathList *list)
{
    if (list->count < list->capacity)
        return 1;
    const int capacity = list->capacity ? list->capacity * 2 : 8;
    void *more = std::realloc(list->paths, static_cast<size_t>(capacity) * kUserObjectPathSize);
    if (!more)
        return 0;
    list->paths = static_cast<char (*)[kUserObjectPathSize]>(more);
    list->capacity = capacity;
    return 1;
}

// A path that can go into LOAD AD "path" as one statement, whole.
int sendablePath(const char *path)
{
    return std::strlen(path) < static_cast<size_t>(kUserObjectPathSize) &&
           isSendableName(path, kStkTextSize - kLoadOverhead);
}

#define UV(field) offsetof(UserObjectDialogValues, field)
enum UserObjectRow { kRowCtrls, kRowList, kRowButtons, kRowAdd, kRowDelete, kUserObjectRowCount };
const DialogControl kUserObjectControls[] = {
    // The list fills the form (attached to its four sides by the fallback
    // resources): the form's width is the list's, with or without files.
    {"UserObjectCtrls", kControlForm, kDialogMainParent, {{"width", "240"}, {nullptr, nullptr}}, kFieldNone, 0, 0,
     nullptr},
    {"UserObjectList", kControlList, kRowCtrls, {{"selectionPolicy", "browse_select"}, {"visibleItemCount", "8"}},
     kFieldListPosition, UV(position), 0, nullptr},
    {"UserObjectButtons", kControlRowColumn, kDialogMainParent, {{"spacing", "0"}, {nullptr, nullptr}}, kFieldNone,
     0, 0, nullptr},
    {"ButtonAddFile", kControlPushButton, kRowButtons, {}, kFieldNone, 0, 0, nullptr},
    {"ButtonDelFile", kControlPushButton, kRowButtons, {}, kFieldNone, 0, 0, nullptr},
};
static_assert(sizeof kUserObjectControls / sizeof kUserObjectControls[0] == kUserObjectRowCount, "rows");

void sensitivity(const void *values, uint8_t *sensitive)
{
    sensitive[kRowDelete] = static_cast<const UserObjectDialogValues *>(values)->position > 0;
}

// The list is the Motif half's: it fills the position and sends OK's texts.
void fillNothing(const ChartState *, const AppData *, void *) {}
void okNothing(void *, const ChartState *, const AppData *, DialogResult *) {}

} // namespace

int userObjectListFromChart(const ChartState *chart, UserObjectPathList *list)
{
    list->count = 0;
    for (int i = 0; i < chart->userObjectFileCount; i++) {
        if (!grow(list))
            return 0;
        strCopyBounded(list->paths[list->count++], kUserObjectPathSize, chart->userObjectFiles[i].path);
    }
    return 1;
}

void userObjectListFree(UserObjectPathList *list)
{
    std::free(list->paths);
    *list = UserObjectPathList{};
}

const char *userObjectItemName(const char *path)
{
    const char *slash = std::strrchr(path, '/');
    return slash ? slash + 1 : path;
}

int userObjectListAdd(UserObjectPathList *list, const char *path, DialogResult *refusal)
{
    for (int i = 0; i < list->count; i++)
        if (std::strcmp(list->paths[i], path) == 0) {
            dialogRefuse(refusal, kMessageObjectAlreadySelected, path);
            return 0;
        }
    if (!sendablePath(path) || !regularFileReadable(path)) {
        dialogRefuse(refusal, kCannotOpen, path);
        return 0;
    }
    if (!grow(list)) {
        dialogRefuse(refusal, "messageSystemOutOfMemory", "");
        return 0;
    }
    strCopyBounded(list->paths[list->count++], kUserObjectPathSize, path);
    return 1;
}

int userObjectListDelete(UserObjectPathList *list, int position)
{
    if (position < 1 || position > list->count)
        return 0;
    std::memmove(list->paths[position - 1], list->paths[position],
                 static_cast<size_t>(list->count - position) * kUserObjectPathSize);
    list->count--;
    return position <= list->count ? position : list->count;
}

int userObjectOkCommands(const UserObjectPathList *list, void (*send)(void *context, const char *text),
                         void *context, DialogResult *refusal)
{
    for (int i = 0; i < list->count; i++)
        if (!sendablePath(list->paths[i])) {
            dialogRefuse(refusal, kCannotOpen, list->paths[i]);
            return 0;
        }
    send(context, "UNLOAD AD");
    for (int i = 0; i < list->count; i++) {
        char text[kStkTextSize];
        std::snprintf(text, sizeof text, kLoadFormat, list->paths[i]);
        send(context, text);
    }
    send(context, "DRIVE");
    return 1;
}

int userObjectDirectoryOf(const char *path, char *dir, int size)
{
    const char *slash = std::strrchr(path, '/');
    if (!slash || !slash[1] || slash - path >= size)
        return 0;
    const size_t n = static_cast<size_t>(slash - path);
    std::memcpy(dir, path, n);
    dir[n] = '\0';
    if (n == 0) // a file in the root directory
        strCopyBounded(dir, size, "/");
    return 1;
}

// OK and Cancel head the column of buttons beside the list.
const DialogSpec kUserObjectDialog = {
    "UserObjectDialog", kUserObjectControls, kUserObjectRowCount, sizeof(UserObjectDialogValues),
    fillNothing,        sensitivity,         okNothing,           nullptr,
    nullptr,            0,                   "RCUserObject",      "UserObjectButtons",
};
