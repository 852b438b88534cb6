// The site dialogs on the dialog kit's builder: "SiteDialog" with its list,
// "SiteSearchDialog" (a prompt dialog of its own) and "SiteEditDialog".
// Edits go through siteFileRewrite; the list follows only what the file holds.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <unistd.h>

#include <Xm/List.h>
#include <Xm/SelectioB.h>
#include <Xm/TextF.h>

#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/file_input.h"
#include "model/lexing.h"
#include "model/options.h"
#include "model/resource_text.h"
#include "model/ui_hooks.h"
#include "ui/dialogs/dialog_motif.h"
#include "ui/dialogs/dialog_openers.h"
#include "ui/dialogs/site_dialogs.h"

namespace {

SiteListState siteList;      // read when the dialog is built
int siteListLoaded = 0;
char lastSearch[kSiteListNameSize * 2];
Widget searchDialog = nullptr;

// The edit dialog's site: its list index (-1 for a new one) and its line as it was.
int editIndex = -1;
char editOriginal[kSiteLineLength + 2];

enum { kRowSearch = 3, kRowEdit = 4, kRowAdd = 5, kRowDel = 6 }; // rows of kSiteDialog

SiteDialogValues *siteValues() { return static_cast<SiteDialogValues *>(dialogValues(&kSiteDialog)); }

void showSiteMessage(const char *resource, const char *argument)
{
    dialogShowMessage(&kSiteDialog, resource, argument);
}

const char *siteItem(int index) { return siteList.entries[index].name; }

// The list widget shows siteList; `position` (1-based, 0 none) is selected.
void showList(int position)
{
    dialogSetListItems(&kSiteDialog, "SiteList", siteList.count, siteItem, position);
}

// The shell went: the list is read again, the search starts empty.
void forgetSiteDialog(void *)
{
    siteListFree(&siteList);
    siteListLoaded = 0;
    lastSearch[0] = '\0';
    editIndex = -1;
}

void makeDefault(ChartState *chart)
{
    strCopyBounded(appData->siteName, sizeof appData->siteName, chart->siteName);
    appData->siteName[strTrimmedLength(appData->siteName)] = '\0';
    optionSet("SiteName", appData->siteName);
}

void siteOk(ChartState *chart, void *values)
{
    const auto *v = static_cast<const SiteDialogValues *>(values);
    if (v->position < 1 || v->position > siteList.count)
        return;
    Site site{};
    double where[3], zone = 0.0;
    strCopyBounded(site.name, sizeof site.name, siteList.entries[v->position - 1].name);
    if (!findSite(site.name, where, &zone))
        return;
    site.latitude = where[0];
    site.longitude = where[1];
    site.altitude = static_cast<int>(where[2]);
    site.zone = zone;
    static DialogResult result;
    dialogResultClear(&result);
    siteLocateCommands(&site, &result);
    const int setDefault = v->makeDefault == kToggleOn;
    if (dialogFinishOk(&kSiteDialog, &result) && setDefault)
        makeDefault(chart);
}

// ---- search ----------------------------------------------------------------------

void searchOk(Widget w, XtPointer, XtPointer)
{
    Widget text = XmSelectionBoxGetChild(w, XmDIALOG_TEXT);
    char *typed = XmTextFieldGetString(text);
    strCopyBounded(lastSearch, sizeof lastSearch, typed ? typed : "");
    XtFree(typed);
    Widget list = dialogWidget(&kSiteDialog, "SiteList");
    // From the entry after the one at the top of the list.
    const int top = list ? XmListYToPos(list, 5) : 0;
    const int found = siteListSearch(&siteList, lastSearch, top > 0 ? top : 0);
    if (found < 0)
        return; // the search dialog stays for another try
    XmListSelectPos(list, found + 1, True);
    XmListSetPos(list, found + 1);
    XtUnmanageChild(w);
}

void searchCancel(Widget w, XtPointer, XtPointer) { XtUnmanageChild(w); }

void openSearch()
{
    if (!searchDialog) {
        Arg args[1];
        XtSetArg(args[0], XmNautoUnmanage, False);
        searchDialog = XmCreatePromptDialog(dialogWidget(&kSiteDialog, "SiteDialog"),
                                            const_cast<char *>("SiteSearchDialog"), args, 1);
        XtUnmanageChild(XmSelectionBoxGetChild(searchDialog, XmDIALOG_HELP_BUTTON));
        XtUnmanageChild(XmSelectionBoxGetChild(searchDialog, XmDIALOG_APPLY_BUTTON));
        XtUnmanageChild(XmSelectionBoxGetChild(searchDialog, XmDIALOG_SELECTION_LABEL));
        XtAddCallback(searchDialog, XmNokCallback, searchOk, nullptr);
        XtAddCallback(searchDialog, XmNcancelCallback, searchCancel, nullptr);
        dialogClearOnDestroy(&searchDialog);
    }
    XmTextFieldSetString(XmSelectionBoxGetChild(searchDialog, XmDIALOG_TEXT), lastSearch);
    XtManageChild(searchDialog);
}

// ---- edit, new, remove -----------------------------------------------------------

void editOk(ChartState *chart, void *values);

void openEdit(ChartState *chart, const SiteEditValues *fields)
{
    static const DialogHandlers handlers = {nullptr, editOk};
    dialogSetHandlers(&kSiteEditDialog, &handlers);
    dialogOpen(&kSiteEditDialog, chart);
    if (auto *v = static_cast<SiteEditValues *>(dialogValues(&kSiteEditDialog))) {
        *v = *fields;
        dialogRefresh(&kSiteEditDialog);
    }
}

// Line lineNumber (1-based) of the site file, without its line end.
int readSiteLine(int32_t lineNumber, char *out, size_t size, size_t *length)
{
    FILE *file = openRegularFile(appData->siteFile);
    if (!file)
        return 0;
    char *line = nullptr;
    size_t capacity = 0, n = 0;
    int found = 0;
    for (int32_t k = 1; !found && siteFileReadLine(file, &line, &capacity, &n); k++)
        if (k == lineNumber && n < size) {
            std::memcpy(out, line, n + 1);
            *length = n;
            found = 1;
        }
    std::free(line);
    std::fclose(file);
    return found;
}

// 1 when the file still holds the listed site at index on its line; else the
// file was changed by someone else: the list is read again and the box says so.
int siteLineStillListed(int index)
{
    char line[kSiteLineLength + 1];
    size_t length = 0;
    Site site;
    if (index >= 0 && index < siteList.count &&
        readSiteLine(siteList.entries[index].lineNumber, line, sizeof line, &length) &&
        siteLineParse(line, length, &site) && std::strcmp(site.name, siteList.entries[index].name) == 0)
        return 1;
    siteListRead(appData->siteFile, &siteList);
    showList(0);
    showSiteMessage(kMessageCannotOpenFile, appData->siteFile);
    return 0;
}

void siteEdit(ChartState *chart, const SiteDialogValues *v)
{
    if (v->position < 1 || v->position > siteList.count) {
        showSiteMessage(kMessageSelectSiteToEdit, "");
        return;
    }
    char line[kSiteLineLength + 1];
    size_t length = 0;
    SiteEditValues fields;
    if (!siteLineStillListed(v->position - 1) ||
        !readSiteLine(siteList.entries[v->position - 1].lineNumber, line, sizeof line, &length) ||
        !siteEditFromLine(line, length, &fields))
        return;
    editIndex = v->position - 1;
    std::snprintf(editOriginal, sizeof editOriginal, "%s\n", line);
    openEdit(chart, &fields);
}

void siteNew(ChartState *chart)
{
    SiteEditValues fields;
    siteEditFromLine(kSiteNewTemplate, std::strlen(kSiteNewTemplate), &fields);
    editIndex = -1;
    std::snprintf(editOriginal, sizeof editOriginal, "%s\n", kSiteNewTemplate);
    openEdit(chart, &fields);
}

void editOk(ChartState *chart, void *values)
{
    static DialogResult result;
    dialogResultClear(&result);
    char line[kSiteLineLength + 1];
    if (!siteEditCompose(static_cast<const SiteEditValues *>(values), &siteList, editIndex, line, &result)) {
        dialogFinishOk(&kSiteEditDialog, &result);
        return;
    }
    if (std::strcmp(line, editOriginal) != 0) {
        if (editIndex >= 0 && !siteLineStillListed(editIndex))
            return;
        const int ok = editIndex < 0 ? siteFileRewrite(appData->siteFile, kSiteEditInsertFirst, 0, line)
                                     : siteFileRewrite(appData->siteFile, kSiteEditReplace,
                                                       siteList.entries[editIndex].lineNumber, line);
        if (!ok) { // the file is as it was: so are the list and the fields
            dialogShowMessage(&kSiteEditDialog, kMessageCannotWriteFile, appData->siteFile);
            return;
        }
        Site site;
        siteLineParse(line, kSiteLineLength - 1, &site);
        char oldName[kSiteListNameSize];
        std::snprintf(oldName, sizeof oldName, "%.40s", editOriginal);
        oldName[strTrimmedLength(oldName)] = '\0';
        int position = 1;
        if (editIndex < 0) {
            if (!siteListInsertFirst(&siteList, site.name))
                showSiteMessage("messageSystemOutOfMemory", "");
        } else {
            siteListRename(&siteList, editIndex, site.name);
            position = editIndex + 1;
        }
        showList(position);
        // Only an edited site can be the default one: a new site's empty
        // name would otherwise match an unset default.
        if (editIndex >= 0 && appData->siteName[0] && std::strcmp(oldName, appData->siteName) == 0)
            siteLocateCommands(&site, &result);
    }
    const int moved = result.commandCount > 0;
    if (dialogFinishOk(&kSiteEditDialog, &result) && moved)
        makeDefault(chart);
}

void siteRemove(const SiteDialogValues *v)
{
    if (v->position < 1 || v->position > siteList.count) {
        showSiteMessage(kMessageSelectSiteToDel, "");
        return;
    }
    const int index = v->position - 1;
    char format[256], question[512];
    getResourceFormat(kMessageConfirmDeleteSite, "s", format, sizeof format);
    std::snprintf(question, sizeof question, format, siteList.entries[index].name);
    if (!uiHooks.askQuestion(dialogWidget(&kSiteDialog, "SiteDialog"), question) || !siteLineStillListed(index))
        return;
    if (!siteFileRewrite(appData->siteFile, kSiteEditRemove, siteList.entries[index].lineNumber, nullptr)) {
        showSiteMessage(kMessageCannotWriteFile, appData->siteFile);
        return;
    }
    siteListRemove(&siteList, index);
    showList(index < siteList.count ? index + 1 : siteList.count);
}

void sitePress(ChartState *chart, void *values, int control)
{
    auto *v = static_cast<SiteDialogValues *>(values);
    switch (control) {
    case kRowSearch: openSearch(); break;
    case kRowEdit: siteEdit(chart, v); break;
    case kRowAdd: siteNew(chart); break;
    case kRowDel: siteRemove(v); break;
    default: break;
    }
}

} // namespace

void openSiteDialog(ChartState *chart)
{
    if (!siteListLoaded) {
        const int read = siteListRead(appData->siteFile, &siteList);
        if (read == 0 || siteList.count == 0) {
            dialogShowMessage(&kSiteDialog, kMessageNoPlaceFileFound, appData->siteFile);
            return;
        }
        if (read < 0)
            dialogShowMessage(&kSiteDialog, "messageSystemOutOfMemory", "");
        siteListLoaded = 1;
        static const DialogHandlers handlers = {sitePress, siteOk};
        dialogSetHandlers(&kSiteDialog, &handlers);
        dialogOpen(&kSiteDialog, chart);
        dialogForgetOnDestroy(dialogWidget(&kSiteDialog, "SiteDialog"), forgetSiteDialog, nullptr);
        showList(0);
    } else {
        dialogOpen(&kSiteDialog, chart);
    }
    SiteDialogValues *v = siteValues();
    if (!v)
        return;
    siteDialogFill(&siteList, chart, access(appData->siteFile, W_OK) == 0, v);
    dialogRefresh(&kSiteDialog);
    Widget list = dialogWidget(&kSiteDialog, "SiteList");
    if (list && v->position > 0)
        XmListSetPos(list, v->position);
}
