// The main window's icon: the window manager's icon sizes decide which
// built-in bitmap is set, if any.
#include <gtest/gtest.h>

#include <vector>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "tests/support/temp_dir.h"
#include "tests/support/x_server.h"
#include "tests/support/x_tavik.h"
#include "ui/app/icon.h"

namespace {

XIconSize iconSize(int minW, int minH, int maxW, int maxH, int incW, int incH)
{
    XIconSize s;
    s.min_width = minW;
    s.min_height = minH;
    s.max_width = maxW;
    s.max_height = maxH;
    s.width_inc = incW;
    s.height_inc = incH;
    return s;
}

struct IconCase {
    const char *name;
    std::vector<XIconSize> sizes;
    int expected; // the icon size set; 0 = none
};

std::vector<IconCase> iconCases()
{
    return {
        {"exactly 48", {iconSize(48, 48, 48, 48, 0, 0)}, 48},
        {"exactly 32", {iconSize(32, 32, 32, 32, 0, 0)}, 32},
        {"only 16", {iconSize(16, 16, 16, 16, 0, 0)}, 0},
        {"16 to 64 by 16", {iconSize(16, 16, 64, 64, 16, 16)}, 48},
        {"20 to 60 by 4 admits 48", {iconSize(20, 20, 60, 60, 4, 4)}, 48},
        {"24 to 40 by 8 misses 48, admits 32", {iconSize(24, 24, 40, 40, 8, 8)}, 32},
        {"increment 0 admits only the minimum", {iconSize(32, 32, 64, 64, 0, 0)}, 32},
        {"width fits, height does not", {iconSize(48, 40, 48, 40, 0, 0)}, 0},
        {"entry with a bound above 512 is ignored", {iconSize(16, 16, 1024, 1024, 16, 16)}, 0},
        {"second entry fits",
         {iconSize(16, 16, 16, 16, 0, 0), iconSize(32, 32, 32, 32, 0, 0)}, 32},
    };
}

int chosenSize(const std::vector<XIconSize> &sizes)
{
    const int n = static_cast<int>(sizes.size());
    if (iconSizeFits(sizes.data(), n, 48, 48))
        return 48;
    return iconSizeFits(sizes.data(), n, 32, 32) ? 32 : 0;
}

TEST(StartupIcon, SizeRulesOfTheWindowManagerChooseTheBitmap)
{
    for (const auto &c : iconCases())
        EXPECT_EQ(chosenSize(c.sizes), c.expected) << c.name;
}

TEST(StartupIcon, BuiltInBitmapsAreNotBlank)
{
    for (int size : {48, 32}) {
        const unsigned char *bits = iconBitmap(size);
        int set = 0;
        for (int i = 0; i < size * size / 8; i++)
            set += bits[i] != 0;
        EXPECT_GT(set, size / 4) << size;
    }
}

// The icon pixmap the program sets, as the window manager reads it.
TEST(StartupIconX, ProgramSetsTheIconTheWindowManagerAsksFor)
{
    struct Case {
        const char *name;
        XIconSize size;
        unsigned expected;
    } cases[] = {
        {"48 asked", iconSize(48, 48, 48, 48, 0, 0), 48},
        {"32 asked", iconSize(32, 32, 32, 32, 0, 0), 32},
        {"16 asked: none", iconSize(16, 16, 16, 16, 0, 0), 0},
    };
    for (auto &c : cases) {
        XServer server;
        ASSERT_TRUE(server.ok()) << server.why();
        Display *d = server.display();
        XSetIconSizes(d, DefaultRootWindow(d), &c.size, 1);
        XSync(d, False);
        TempDir home;
        writeOptionsFile(home.path(), {});
        TavikRunOptions o;
        o.display = server.name();
        o.home = home.path();
        o.args = xrmBindStkDoit("F6", "NOSUCHCOMMAND");
        o.args.push_back("-q");
        TavikProcess p(TAVIK_EXECUTABLE, o);
        Window w = xWaitForWindow(d, "tavik", "TAvik", 30000);
        ASSERT_NE(w, 0u) << c.name << " " << p.err();
        // The window maps before the icon is set; the event loop answering a
        // key (with the warning box of an unknown command) means start-up is
        // over.
        xSendKey(d, w, "F6");
        ASSERT_NE(xWaitForWindow(d, "MessageBox_popup", "TAvik", 30000), 0u) << c.name;
        XWMHints *hints = XGetWMHints(d, w);
        unsigned size = 0;
        if (hints && (hints->flags & IconPixmapHint)) {
            Window root;
            int x, y;
            unsigned width, height, border, depth;
            if (XGetGeometry(d, hints->icon_pixmap, &root, &x, &y, &width, &height, &border, &depth)) {
                EXPECT_EQ(width, height) << c.name;
                EXPECT_EQ(depth, 1u) << c.name;
                size = width;
            }
        }
        if (hints)
            XFree(hints);
        EXPECT_EQ(size, c.expected) << c.name;
    }
}

} // namespace
