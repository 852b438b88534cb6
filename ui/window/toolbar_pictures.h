// The tool bar's built-in pictures, one per button in button order, and a
// grey one for the buttons that show their insensitive state by picture.
#pragma once

struct ToolbarPicture {
    const char *const *picture;      // XPM data
    const char *const *insensitive;  // XPM data, or null
};

constexpr int kToolbarPictureCount = 27;
extern const ToolbarPicture toolbarPictures[kToolbarPictureCount];
