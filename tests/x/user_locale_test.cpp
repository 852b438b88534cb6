// The real program under the locales of a current desktop. A UTF-8 locale
// once ended every start ("tavik: can't create font.", status 1): its font
// sets ask for Japanese, Korean and Chinese charsets that few systems have
// fonts for, while every text the program draws is ISO 8859-1. It now says
// so once, handles characters as in the ISO 8859-1 locale and draws the very
// chart, status bar and degree signs included, that it draws there. The
// ASCII "C" locale cut the status bar at its first degree sign; it too now
// draws the ISO 8859-1 chart.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"
#include "tests/support/x_server.h"
#include "tests/support/x_tavik.h"
#include "tests/support/x_xpm.h"

namespace {

struct LocaleRun {
    bool ended = false;
    int status = -1;
    std::string out, err, options;
    XpmPixels chart;
};

class UserLocaleX : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server.ok()) << server.why(); }

    // Starts the program in `locale` (LANG and LC_ALL, as a desktop session
    // sets them, and TAVIK_LOCALE, as every test run does) with the given
    // arguments and options. When it runs, the chart of its first frame is
    // saved (F6) and it quits (F5).
    LocaleRun run(const std::string &locale, const std::vector<std::string> &args,
                  const std::vector<std::string> &optionLines)
    {
        std::vector<std::string> lines = {"ConfirmQuit = False"};
        lines.insert(lines.end(), optionLines.begin(), optionLines.end());
        writeOptionsFile(home.path(), lines);
        const std::string image = home.file("chart.xpm");
        std::remove(image.c_str());
        TavikRunOptions o;
        o.display = server.name();
        o.home = home.path();
        o.locale = locale;
        o.args = xrmBindStkDoit({{"F5", "EXIT"}, {"F6", "GSAVE " + image}});
        o.args.push_back("-q");
        o.args.insert(o.args.end(), args.begin(), args.end());
        TavikProcess p(TAVIK_EXECUTABLE, o);
        LocaleRun r;
        // The main window maps before the font sets are made: a start that
        // fails there shows one for a moment, and then ends.
        waitUntil(
            [&] {
                if (!p.running())
                    return true;
                const Window w = xFindWindow(server.display(), "tavik", "TAvik");
                if (w)
                    xSendKey(server.display(), w, "F6");
                return waitUntil([&] { return !(r.chart = readXpm(server.display(), image)).pixels.empty(); },
                                 500);
            },
            60000);
        if (!r.chart.pixels.empty())
            xSendKey(server.display(), xFindWindow(server.display(), "tavik", "TAvik"), "F5");
        r.ended = p.waitExit(30000);
        r.status = p.status();
        r.out = p.out();
        r.err = p.err();
        r.options = readFile(home.file(".tavik/options"));
        return r;
    }

    XServer server;
    TempDir home;
};

size_t countOf(const std::string &text, const std::string &part)
{
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        n++;
    return n;
}

TEST_F(UserLocaleX, UtfEightAndCLocalesDrawTheChartOfTheIsoLatinOneLocale)
{
    // The test's own world, made by tools/setup-common.sh (test.sh runs it).
    for (const char *name : {"C.UTF-8", "en_US.UTF-8"}) {
        ASSERT_NE(std::setlocale(LC_CTYPE, name), nullptr)
            << name << " is not installed: tools/setup-common.sh's tavik_ensure_locale makes it";
    }
    std::setlocale(LC_CTYPE, "C");

    // The locale the program is written for draws the reference and says nothing.
    const LocaleRun reference = run(kTestLocale, {}, {});
    ASSERT_TRUE(reference.ended);
    ASSERT_EQ(reference.status, 0) << reference.err;
    ASSERT_FALSE(reference.chart.pixels.empty());
    EXPECT_EQ(reference.err, "");

    const std::string fellBack = "; characters are handled as in en_US.ISO_8859-1.\n";
    const std::string noFont = "tavik: can't create font.";
    const std::string nowhere = "xx_NOWHERE.none";
    struct Case {
        const char *name;
        std::string locale;
        std::vector<std::string> args, options;
        int status;
        std::vector<std::string> saidOnce; // each on standard error exactly once
        std::string keptOption;            // an options line the quit writes back; empty: none checked
    } cases[] = {
        {"C.UTF-8 desktop", "C.UTF-8", {}, {}, 0, {" in locale C.UTF-8" + fellBack, "tavik: no fonts for "}, ""},
        {"en_US.UTF-8 desktop", "en_US.UTF-8", {}, {}, 0, {" in locale en_US.UTF-8" + fellBack}, ""},
        {"LC_ALL=C", "C", {}, {}, 0, {"tavik: locale C has no degree sign or accented letters" + fellBack}, ""},
        // An explicit choice is still the locale the program tries, and the
        // one it keeps: the fallback does not replace the option.
        {"--lang=en_US.UTF-8 over an ISO 8859-1 desktop", kTestLocale, {"--lang=en_US.UTF-8"}, {}, 0,
         {" in locale en_US.UTF-8" + fellBack}, ""},
        {"option Locale = C.UTF-8", kTestLocale, {}, {"Locale = C.UTF-8"}, 0, {" in locale C.UTF-8" + fellBack},
         "Locale = C.UTF-8\n"},
        {"a locale that does not exist", "C.UTF-8", {"--lang=" + nowhere}, {}, 0,
         {"tavik: can't set locale " + nowhere + ". Fallback to default (en_US.ISO_8859-1).\n"}, ""},
        // No font in the fallback either: the one fatal message.
        {"a font set no locale has", "C.UTF-8", {"-xrm", "TAvik*StatusFontset: -nosuchfoundry-nosuchfamily-*"}, {},
         1, {" in locale C.UTF-8" + fellBack, "tavik: missing charsets for -nosuchfoundry-nosuchfamily-*\n"}, ""},
    };
    for (const Case &c : cases) {
        const LocaleRun r = run(c.locale, c.args, c.options);
        ASSERT_TRUE(r.ended) << c.name << "\n" << r.err;
        EXPECT_EQ(r.status, c.status) << c.name << "\n" << r.out << r.err;
        for (const std::string &said : c.saidOnce)
            EXPECT_EQ(countOf(r.err, said), 1u) << c.name << ": \"" << said << "\" in\n" << r.err;
        if (c.status == 0) {
            EXPECT_EQ(countOf(r.err, "missing charsets"), 0u) << c.name << "\n" << r.err;
            EXPECT_EQ(r.out.find(noFont), std::string::npos) << c.name;
            ASSERT_FALSE(r.chart.pixels.empty()) << c.name;
            // The status bar's degree signs and every label as the ISO 8859-1 locale draws them.
            EXPECT_TRUE(r.chart.width == reference.chart.width && r.chart.height == reference.chart.height &&
                        r.chart.pixels == reference.chart.pixels)
                << c.name << ": the chart differs from the ISO 8859-1 one";
        } else {
            EXPECT_NE(r.out.find(noFont), std::string::npos) << c.name << "\n" << r.out;
            EXPECT_TRUE(r.chart.pixels.empty()) << c.name;
        }
        if (!c.keptOption.empty()) {
            EXPECT_NE(r.options.find(c.keptOption), std::string::npos) << c.name << "\n" << r.options;
        }
    }
}

} // namespace
