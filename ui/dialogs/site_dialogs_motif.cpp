// The site dialogs on the dialog kit's builder: "SiteDialog" with its list,
// "SiteSearchDialog" (a prompt dialog of its own) and "SiteEditDialog".
// Edits go through siteFileRewrite; the list follows only what the file holds.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <Xm/List.h>
#include <Xm/SelectioB.h>
#include <Xm/TextF.h>

#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/file_input.h"
#include "model/lexing.h"
#include "model/resource_text.h"
#include "model/ui_hooks.h"
#include "ui/dialogs/dialog_motif.h"
#include "ui/dialogs/dialog_openers.h"
#include "ui/dialogs/site_dialogs.h"

namespace {

Widget searchDialog = nullptr;

enum { kRowSearch = 3, kRowEdit = 4, kRowAdd = 5, kRowDel = 6 }; // rows of kSiteDialog

SiteDialogValues *siteValues() { return static_cast<SiteDialogValues *>(dialogValues(&kSiteDialog)); }

void showSiteMessage(const char *resource, const char *argument)
{
    dialogShowMessage(&kSiteDialog, resource, argument);
}

// The list shows the record's sites; `position` (1-based, 0 none) is
// selected and scrolled to the top.
void showList(SiteDialogValues *v, int position)
{
    siteDialogShowSites(v, position);
    dialogRefresh(&kSiteDialog);
    Widget list = dialogWidget(&kSiteDialog, "SiteList");
    if (list && v->names.position > 0)
        XmListSetPos(list, v->names.position);
}

// ---- search ----------------------------------------------------------------------

void searchOk(Widget w, XtPointer, XtPointer)
{
    SiteDialogValues *v = siteValues();
    if (!v)
        return;
    Widget text = XmSelectionBoxGetChild(w, XmDIALOG_TEXT);
    char *typed = XmTextFieldGetString(text);
    strCopyBounded(v->lastSearch, sizeof v->lastSearch, typed ? typed : "");
    XtFree(typed);
    Widget list = dialogWidget(&kSiteDialog, "SiteList");
    // From the entry after the one at the top of the list.
    const int top = list ? XmListYToPos(list, 5) : 0;
    const int found = siteListSearch(&v->sites, v->lastSearch, top > 0 ? top : 0);
    if (found < 0)
        return; // the search dialog stays for another try
    XmListSelectPos(list, found + 1, True);
    XmListSetPos(list, found + 1);
    XtUnmanageChild(w);
}

void searchCancel(Widget w, XtPointer, XtPointer) { XtUnmanageChild(w); }

void openSearch(const SiteDialogValues *v)
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
    XmTextFieldSetString(XmSelectionBoxGetChild(searchDialog, XmDIALOG_TEXT), const_cast<char *>(v->lastSearch));
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
int siteLineStillListed(SiteDialogValues *v, int index)
{
    char line[kSiteLineLength + 1];
    size_t length = 0;
    Site site;
    if (index >= 0 && index < v->sites.count &&
        readSiteLine(v->sites.entries[index].lineNumber, line, sizeof line, &length) &&
        siteLineParse(line, length, &site) && std::strcmp(site.name, v->sites.entries[index].name) == 0)
        return 1;
    siteListRead(appData->siteFile, &v->sites);
    showList(v, 0);
    showSiteMessage(kMessageCannotOpenFile, appData->siteFile);
    return 0;
}

void siteEdit(ChartState *chart, SiteDialogValues *v)
{
    const int32_t position = v->names.position;
    if (position < 1 || position > v->sites.count) {
        showSiteMessage(kMessageSelectSiteToEdit, "");
        return;
    }
    char line[kSiteLineLength + 1];
    size_t length = 0;
    SiteEditValues fields;
    if (!siteLineStillListed(v, position - 1) ||
        !readSiteLine(v->sites.entries[position - 1].lineNumber, line, sizeof line, &length) ||
        !siteEditFromLine(line, length, &fields))
        return;
    v->editIndex = position - 1;
    std::snprintf(v->editOriginal, sizeof v->editOriginal, "%s\n", line);
    openEdit(chart, &fields);
}

void siteNew(ChartState *chart, SiteDialogValues *v)
{
    SiteEditValues fields;
    siteEditFromLine(kSiteNewTemplate, std::strlen(kSiteNewTemplate), &fields);
    v->editIndex = -1;
    std::snprintf(v->editOriginal, sizeof v->editOriginal, "%s\n", kSiteNewTemplate);
    openEdit(chart, &fields);
}

void editOk(ChartState *chart, void *values)
{
    SiteDialogValues *v = siteValues();
    if (!v)
        return;
    static DialogResult result;
    dialogResultClear(&result);
    char line[kSiteLineLength + 1];
    const int editIndex = v->editIndex;
    if (!siteEditCompose(static_cast<const SiteEditValues *>(values), &v->sites, editIndex, line, &result)) {
        dialogFinishOk(&kSiteEditDialog, &result);
        return;
    }
    if (std::strcmp(line, v->editOriginal) != 0) {
        if (editIndex >= 0 && !siteLineStillListed(v, editIndex))
            return;
        const int ok = editIndex < 0 ? siteFileRewrite(appData->siteFile, kSiteEditInsertFirst, 0, line)
                                     : siteFileRewrite(appData->siteFile, kSiteEditReplace,
                                                       v->sites.entries[editIndex].lineNumber, line);
        if (!ok) { // the file is as it was: so are the list and the fields
            dialogShowMessage(&kSiteEditDialog, kMessageCannotWriteFile, appData->siteFile);
            return;
        }
        Site site;
        siteLineParse(line, kSiteLineLength - 1, &site);
        char oldName[kSiteListNameSize];
        std::snprintf(oldName, sizeof oldName, "%.40s", v->editOriginal);
        oldName[strTrimmedLength(oldName)] = '\0';
        int position = 1;
        if (editIndex < 0) {
            if (!siteListInsertFirst(&v->sites, site.name))
                showSiteMessage("messageSystemOutOfMemory", "");
        } else {
            siteListRename(&v->sites, editIndex, site.name);
            position = editIndex + 1;
        }
        showList(v, position);
        // Only an edited site can be the default one: a new site's empty
        // name would otherwise match an unset default.
        if (editIndex >= 0 && appData->siteName[0] && std::strcmp(oldName, appData->siteName) == 0)
            siteLocateCommands(&site, &result);
    }
    const int moved = result.commandCount > 0;
    if (dialogFinishOk(&kSiteEditDialog, &result) && moved)
        siteMakeDefault(chart->siteName);
}

void siteRemove(SiteDialogValues *v)
{
    const int32_t position = v->names.position;
    if (position < 1 || position > v->sites.count) {
        showSiteMessage(kMessageSelectSiteToDel, "");
        return;
    }
    const int index = position - 1;
    char format[256], question[512];
    getResourceFormat(kMessageConfirmDeleteSite, "s", format, sizeof format);
    std::snprintf(question, sizeof question, format, v->sites.entries[index].name);
    if (!uiHooks.askQuestion(dialogWidget(&kSiteDialog, "SiteDialog"), question) || !siteLineStillListed(v, index))
        return;
    if (!siteFileRewrite(appData->siteFile, kSiteEditRemove, v->sites.entries[index].lineNumber, nullptr)) {
        showSiteMessage(kMessageCannotWriteFile, appData->siteFile);
        return;
    }
    siteListRemove(&v->sites, index);
    showList(v, index < v->sites.count ? index + 1 : v->sites.count);
}

void sitePress(ChartState *chart, void *values, int control)
{
    auto *v = static_cast<SiteDialogValues *>(values);
    switch (control) {
    case kRowSearch: openSearch(v); break;
    case kRowEdit: siteEdit(chart, v); break;
    case kRowAdd: siteNew(chart, v); break;
    case kRowDel: siteRemove(v); break;
    default: break;
    }
}

} // namespace

void openSiteDialog(ChartState *chart)
{
    // A site file that cannot be read or lists no site opens no dialog.
    SiteListState probe{};
    const int read = siteListRead(appData->siteFile, &probe);
    const int count = probe.count;
    siteListFree(&probe);
    if (read == 0 || count == 0) {
        dialogShowMessage(&kSiteDialog, kMessageNoPlaceFileFound, appData->siteFile);
        return;
    }
    if (read < 0)
        dialogShowMessage(&kSiteDialog, "messageSystemOutOfMemory", "");
    static const DialogHandlers handlers = {sitePress, nullptr};
    dialogSetHandlers(&kSiteDialog, &handlers);
    dialogOpen(&kSiteDialog, chart);
    SiteDialogValues *v = siteValues();
    Widget list = dialogWidget(&kSiteDialog, "SiteList");
    if (v && list && v->names.position > 0)
        XmListSetPos(list, v->names.position);
}
