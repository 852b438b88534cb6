// "ImageDialog": the pictures of a clicked object, one at a time with Prev
// and Next, decoded into an X image of the screen's depth.
#pragma once

#include <X11/Intrinsic.h>
#include <X11/Xlib.h>

struct ImageList;

// Takes ownership of items and shows item 0; a list whose first picture
// cannot be shown closes the viewer again.
void openImageDialog(ImageList *items);

// The picture at path as an X image for w's screen, or null (a message box
// says why; a file that cannot be opened says so on standard error).
XImage *jpegLoadXImage(const char *path, Widget w);

// Shows the current item; 1 when it was decoded and shown.
int imageDlgShowItem();

// OK: hides the viewer and frees the picture and the list.
void imageDlgClose();

// 1 while the viewer is shown; its widgets by name (tests), null before it is built.
int imageDialogShown();
Widget imageDialogWidget(const char *name);
// The shown picture (tests); null when none.
XImage *imageDialogPicture();
