// "AboutDialog" and "CopyrightDialog": the product, its version and its
// licence text, opened from the Help menu.
#include <cstring>
#include <initializer_list>

#include <Xm/Form.h>
#include <Xm/Label.h>
#include <Xm/PushB.h>
#include <Xm/Text.h>

#include "model/app_data.h"
#include "model/chart_state.h"
#include "ui/dialogs/about_dialogs_motif.h"
#include "ui/dialogs/dialog_motif.h"
#include "ui/dialogs/dialog_openers.h"

// The built-in licence text: the product and version, the rights line, the
// permission notice, and the sources of the catalogue data with their terms
// (data/SOURCES.md).
const char kCopyrightText[] =
    "Tavik " TAVIK_VERSION "\n"
    "\n"
    "Copyright (C) the Tavik authors.\n"
    "\n"
    "This program is free software; you can redistribute it and/or modify it under the terms of the GNU "
    "General Public License as published by the Free Software Foundation; either version 2 of the License, "
    "or (at your option) any later version.\n"
    "\n"
    "This program is distributed in the hope that it will be useful, but WITHOUT ANY WARRANTY; without even "
    "the implied warranty of MERCHANTABILITY or FITNESS FOR A PARTICULAR PURPOSE. See the GNU General Public "
    "License for more details.\n"
    "\n"
    "Catalogue data and pictures:\n"
    "- Bright Star Catalogue, 5th Revised Ed. (Hoffleit & Warren 1991, Yale): public domain (CDS V/50); "
    "xplanet's packaging GPL-2+ (Hari Nair).\n"
    "- Colour classes, proper names and faint stars: KStars stars.dat and starnames.dat, from the Hipparcos "
    "and Tycho catalogues (ESA 1997, public domain), edited by Jason Harris: GPL-2+ (KStars).\n"
    "- Extra proper names: IAU Working Group on Star Names.\n"
    "- Constellation stick figures: KStars clines.dat, GPL-2, Copyright 2004 Jason Harris and Clemens.\n"
    "- Constellation boundaries (IAU, Delporte 1930), label points and names, Milky Way outlines: KStars "
    "cbounds.dat, cnames.dat, milkyway.dat: GPL-2+.\n"
    "- Messier, NGC and IC objects: OpenNGC by Mattia Verga, https://github.com/mattiaverga/OpenNGC, "
    "CC-BY-SA-4.0.\n"
    "- Site list: KStars citydb: GPL-2+.\n"
    "- Comet and minor-planet elements: NASA/JPL Small-Body Database (public domain); KStars packaging "
    "GPL-2+.\n"
    "- Object pictures: KStars textures (GPL-2+, KStars authors), converted to JPEG.\n";

namespace {

Widget aboutForm = nullptr, copyrightForm = nullptr;

Widget makeLabel(Widget form, const char *name, Widget above)
{
    Arg a[5];
    Cardinal n = 0;
    XtSetArg(a[n], XmNtopAttachment, above ? XmATTACH_WIDGET : XmATTACH_FORM), n++;
    if (above)
        XtSetArg(a[n], XmNtopWidget, above), n++;
    XtSetArg(a[n], XmNleftAttachment, XmATTACH_FORM), n++;
    XtSetArg(a[n], XmNrightAttachment, XmATTACH_FORM), n++;
    Widget w = XmCreateLabel(form, const_cast<char *>(name), a, n);
    XtManageChild(w);
    return w;
}

void hideCallback(Widget, XtPointer client, XtPointer)
{
    XtUnmanageChild(static_cast<Widget>(client));
}

// A form keeps the size a button had when it was made; as the default
// button it needs room for its default shadow too, else its label is cut.
void fitDefaultButton(Widget button)
{
    XtWidgetGeometry wanted{};
    XtQueryGeometry(button, nullptr, &wanted);
    XtVaSetValues(button, XmNwidth, wanted.width, XmNheight, wanted.height, nullptr);
}

} // namespace

void openAboutDialog(ChartState *)
{
    if (!aboutForm) {
        Arg a[1];
        XtSetArg(a[0], XmNautoUnmanage, True);
        aboutForm = XmCreateFormDialog(appData->topLevel, const_cast<char *>("AboutDialog"), a, 1);
        dialogClearOnDestroy(&aboutForm);
        Widget above = nullptr;
        for (const char *name : {"LabelName", "LabelVersion", "LabelCopyright", "LabelURL", "LabelAuthor"})
            above = makeLabel(aboutForm, name, above);
        Widget ok = XmCreatePushButton(aboutForm, const_cast<char *>("ButtonOK"), nullptr, 0);
        XtVaSetValues(ok, XmNtopAttachment, XmATTACH_WIDGET, XmNtopWidget, above, XmNtopOffset, 8,
                      XmNbottomAttachment, XmATTACH_FORM, XmNbottomOffset, 8, XmNleftAttachment,
                      XmATTACH_POSITION, XmNleftPosition, 40, XmNrightAttachment, XmATTACH_POSITION,
                      XmNrightPosition, 60, nullptr);
        XtVaSetValues(aboutForm, XmNdefaultButton, ok, XmNcancelButton, ok, nullptr);
        fitDefaultButton(ok);
        XtManageChild(ok);
    }
    XtManageChild(aboutForm);
}

void openCopyrightDialog(ChartState *)
{
    if (!copyrightForm) {
        copyrightForm = XmCreateFormDialog(appData->topLevel, const_cast<char *>("CopyrightDialog"), nullptr, 0);
        dialogClearOnDestroy(&copyrightForm);
        Widget ok = XmCreatePushButton(copyrightForm, const_cast<char *>("ButtonOK"), nullptr, 0);
        XtVaSetValues(ok, XmNbottomAttachment, XmATTACH_FORM, XmNrightAttachment, XmATTACH_FORM, nullptr);
        XtAddCallback(ok, XmNactivateCallback, hideCallback, copyrightForm);
        XtVaSetValues(copyrightForm, XmNdefaultButton, ok, XmNcancelButton, ok, nullptr);
        fitDefaultButton(ok);
        XtManageChild(ok);
        Arg a[16];
        Cardinal n = 0;
        XtSetArg(a[n], XmNeditable, False), n++;
        XtSetArg(a[n], XmNcursorPositionVisible, False), n++;
        XtSetArg(a[n], XmNwordWrap, True), n++;
        XtSetArg(a[n], XmNscrollHorizontal, False), n++;
        XtSetArg(a[n], XmNeditMode, XmMULTI_LINE_EDIT), n++;
        XtSetArg(a[n], XmNwidth, 480), n++;
        XtSetArg(a[n], XmNrows, 15), n++;
        XtSetArg(a[n], XmNmarginWidth, 10), n++;
        XtSetArg(a[n], XmNmarginHeight, 10), n++;
        XtSetArg(a[n], XmNvalue, kCopyrightText), n++;
        Widget text = XmCreateScrolledText(copyrightForm, const_cast<char *>("CopyrightText"), a, n);
        XtVaSetValues(XtParent(text), XmNtopAttachment, XmATTACH_FORM, XmNleftAttachment, XmATTACH_FORM,
                      XmNrightAttachment, XmATTACH_FORM, XmNbottomAttachment, XmATTACH_WIDGET, XmNbottomWidget,
                      ok, nullptr);
        XtManageChild(text);
    }
    XtManageChild(copyrightForm);
}

Widget aboutDialogWidget(const char *name)
{
    if (name && std::strcmp(name, "AboutDialog") == 0)
        return aboutForm;
    if (name && std::strcmp(name, "CopyrightDialog") == 0)
        return copyrightForm;
    return nullptr;
}
