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
     kFieldItems, UV(files), 0, nullptr},
    {"UserObjectButtons", kControlRowColumn, kDialogMainParent, {{"spacing", "0"}, {nullptr, nullptr}}, kFieldNone,
     0, 0, nullptr},
    {"ButtonAddFile", kControlPushButton, kRowButtons, {}, kFieldNone, 0, 0, nullptr},
    {"ButtonDelFile", kControlPushButton, kRowButtons, {}, kFieldNone, 0, 0, nullptr},
};
static_assert(sizeof kUserObjectControls / sizeof kUserObjectControls[0] == kUserObjectRowCount, "rows");

void sensitivity(const void *values, uint8_t *sensitive)
{
    sensitive[kRowDelete] = static_cast<const UserObjectDialogValues *>(values)->files.position > 0;
}

// Refilled at every opening: what the chart has loaded now. A list that
// could not be had whole is refused at OK: its UNLOAD AD would drop the files
// it left out.
void fill(const ChartState *chart, const AppData *, void *values)
{
    auto *v = static_cast<UserObjectDialogValues *>(values);
    v->incomplete = userObjectListFromChart(chart, &v->files) ? 0 : 1;
}

void ok(void *values, const ChartState *, const AppData *, DialogResult *out)
{
    const auto *v = static_cast<const UserObjectDialogValues *>(values);
    if (v->incomplete) {
        dialogRefuse(out, "messageSystemOutOfMemory", "");
        return;
    }
    userObjectDialogOk(&v->files, out);
}

// The list shows each file's name, not its directory.
const char *itemShown(int, const char *path) { return userObjectItemName(path); }

DialogSpec userObjectSpec()
{
    DialogSpec s = {"UserObjectDialog", kUserObjectControls, kUserObjectRowCount, sizeof(UserObjectDialogValues),
                    fill,               sensitivity,         ok,                  nullptr,
                    nullptr,            0,                   "RCUserObject",      "UserObjectButtons"};
    s.itemShown = itemShown;
    return s;
}

} // namespace

int userObjectListFromChart(const ChartState *chart, UserObjectPathList *list)
{
    dialogItemsFree(list);
    for (int i = 0; i < chart->userObjectFileCount; i++)
        if (!dialogItemsAdd(list, chart->userObjectFiles[i].path))
            return 0;
    list->position = list->count > 0 ? 1 : 0;
    return 1;
}

void userObjectListFree(UserObjectPathList *list) { dialogItemsFree(list); }

const char *userObjectItemName(const char *path)
{
    const char *slash = std::strrchr(path, '/');
    return slash ? slash + 1 : path;
}

int userObjectListAdd(UserObjectPathList *list, const char *path, DialogResult *refusal)
{
    for (int i = 0; i < list->count; i++)
        if (std::strcmp(list->texts[i], path) == 0) {
            dialogRefuse(refusal, kMessageObjectAlreadySelected, path);
            return 0;
        }
    if (!sendablePath(path) || !regularFileReadable(path)) {
        dialogRefuse(refusal, kCannotOpen, path);
        return 0;
    }
    if (!dialogItemsAdd(list, path)) {
        dialogRefuse(refusal, "messageSystemOutOfMemory", "");
        return 0;
    }
    return 1;
}

int userObjectListDelete(UserObjectPathList *list, int position)
{
    return dialogItemsDelete(list, position);
}

int userObjectOkCommands(const UserObjectPathList *list, void (*send)(void *context, const char *text),
                         void *context, DialogResult *refusal)
{
    for (int i = 0; i < list->count; i++)
        if (!sendablePath(list->texts[i])) {
            dialogRefuse(refusal, kCannotOpen, list->texts[i]);
            return 0;
        }
    send(context, "UNLOAD AD");
    for (int i = 0; i < list->count; i++) {
        char text[kStkTextSize];
        std::snprintf(text, sizeof text, kLoadFormat, list->texts[i]);
        send(context, text);
    }
    send(context, "DRIVE");
    return 1;
}

void userObjectDialogOk(const UserObjectPathList *list, DialogResult *result)
{
    userObjectOkCommands(list, [](void *context, const char *text) {
        dialogAddCommand(static_cast<DialogResult *>(context), "%s", text);
    }, result, result);
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
const DialogSpec kUserObjectDialog = userObjectSpec();
