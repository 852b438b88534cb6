#include "model/env.h"
#include "model/lexing.h"
#include "model/locale_choice.h"

#include "tests/model/settings_fixtures.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

// A user database of our own, so that no test sees a real home directory.
struct FakeUser {
    const char *name; // null: the current user
    std::string home;
};
std::vector<FakeUser> fakeUsers;

int fakeLookup(const char *user, char *dst, int len)
{
    for (const FakeUser &u : fakeUsers) {
        if ((!user && !u.name) || (user && u.name && std::strcmp(user, u.name) == 0))
            return strCopyBounded(dst, len, u.home.c_str());
    }
    return 0;
}

class EnvTest : public ::testing::Test {
protected:
    void SetUp() override { envSetHomeLookup(fakeLookup); }
    void TearDown() override
    {
        envSetHomeLookup(nullptr);
        fakeUsers.clear();
    }
};

const std::string kLongHome = "/export/" + std::string(240, 'h'); // 248 characters

TEST_F(EnvTest, TildeExpansionTable)
{
    fakeUsers = {{nullptr, "/home/me"}, {"alice", "/home/alice"}, {"long", kLongHome}};
    struct Case {
        const char *name;
        std::string path;
        int size;
        bool fits;
        std::string expected;
    };
    const Case cases[] = {
        {"tilde alone", "~", 256, true, "/home/me"},
        {"tilde slash", "~/scenes/a.stl", 256, true, "/home/me/scenes/a.stl"},
        {"named user", "~alice/doc", 256, true, "/home/alice/doc"},
        {"named user alone", "~alice", 256, true, "/home/alice"},
        {"unknown user stays unchanged, not /x", "~nosuch/x", 256, true, "~nosuch/x"},
        {"unknown user alone", "~nosuch", 256, true, "~nosuch"},
        {"tilde not leading", "/data/~alice", 256, true, "/data/~alice"},
        {"plain path", "relative/file", 256, true, "relative/file"},
        {"empty", "", 256, true, ""},
        {"result of 256 or more characters fits a larger buffer",
         "~long/" + std::string(20, 'f'), 512, true, kLongHome + "/" + std::string(20, 'f')},
        {"result of 256 or more characters reported in 256 bytes",
         "~long/" + std::string(20, 'f'), 256, false, ""},
        {"result of exactly 255 characters fits", "~long/" + std::string(6, 'f'), 256, true,
         kLongHome + "/" + std::string(6, 'f')},
        {"result of exactly 256 characters does not", "~long/" + std::string(7, 'f'), 256, false, ""},
        {"unexpanded path longer than the buffer", std::string(300, 'p'), 256, false, ""},
        {"user name longer than any user", "~" + std::string(400, 'u') + "/x", 512, true,
         "~" + std::string(400, 'u') + "/x"},
    };
    for (const Case &c : cases) {
        std::vector<char> out(c.size + 8, '#');
        char *got = envExpandTilde(c.path.c_str(), out.data(), c.size);
        EXPECT_EQ(got != nullptr, c.fits) << c.name;
        EXPECT_EQ(std::string(out.data()), c.expected) << c.name;
        EXPECT_EQ(out[c.size], '#') << c.name << ": wrote past the buffer";
    }
}

TEST_F(EnvTest, HomeDirFromTheLookup)
{
    fakeUsers = {{nullptr, "/home/me"}, {"alice", "/home/alice"}};
    char dst[256] = "stale";
    EXPECT_EQ(envHomeDir(dst, sizeof dst, nullptr), 1);
    EXPECT_STREQ(dst, "/home/me");
    EXPECT_EQ(envHomeDir(dst, sizeof dst, "alice"), 1);
    EXPECT_STREQ(dst, "/home/alice");
    EXPECT_EQ(envHomeDir(dst, sizeof dst, "nosuch"), 0);
    EXPECT_STREQ(dst, "");
    EXPECT_EQ(envHomeDir(dst, 5, "alice"), 0) << "home that does not fit";
    EXPECT_STREQ(dst, "");
}

TEST(EnvHome, UserDatabaseAndItsStandIn)
{
    char dst[256];
    EXPECT_EQ(envHomeDir(dst, sizeof dst, "tavik-no-such-user"), 0);
    EXPECT_STREQ(dst, "");
    EXPECT_EQ(envHomeDir(dst, sizeof dst, "root"), 1);
    EXPECT_STREQ(dst, "/root");
    const char *old = std::getenv("TAVIK_HOME");
    std::string saved = old ? old : "";
    setenv("TAVIK_HOME", "/somewhere/else", 1);
    EXPECT_EQ(envHomeDir(dst, sizeof dst, nullptr), 1);
    EXPECT_STREQ(dst, "/somewhere/else");
    if (old)
        setenv("TAVIK_HOME", saved.c_str(), 1);
    else
        unsetenv("TAVIK_HOME");
}

TEST_F(EnvTest, MakeUserDirCreatesItOnceAndReportsFailures)
{
    TempDir home;
    fakeUsers = {{nullptr, home.path()}};
    char dir[256], rc[256];
    mode_t oldMask = umask(022);
    EXPECT_EQ(envMakeUserDir(dir, sizeof dir, rc, sizeof rc), 1);
    umask(oldMask);
    EXPECT_EQ(std::string(dir), home.file(".tavik"));
    EXPECT_EQ(std::string(rc), home.file(".tavik/tavikrc"));
    struct stat st;
    ASSERT_EQ(stat(dir, &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0755u);
    EXPECT_EQ(envMakeUserDir(dir, sizeof dir, rc, sizeof rc), 1) << "existing directory";

    TempDir other;
    other.write(".tavik", "a file, not a directory");
    fakeUsers = {{nullptr, other.path()}};
    EXPECT_EQ(envMakeUserDir(dir, sizeof dir, rc, sizeof rc), 0);
    EXPECT_STREQ(dir, "");
    EXPECT_STREQ(rc, "");

    fakeUsers.clear();
    EXPECT_EQ(envMakeUserDir(dir, sizeof dir, rc, sizeof rc), 0) << "no home directory";
    EXPECT_STREQ(dir, "");
    EXPECT_STREQ(rc, "");

    fakeUsers = {{nullptr, kLongHome}};
    EXPECT_EQ(envMakeUserDir(dir, sizeof dir, rc, sizeof rc), 0) << "rc path does not fit";
    EXPECT_STREQ(dir, "");
}

TEST(EnvCopyFile, CopiesWholeOrNothing)
{
    TempDir dir;
    std::string text;
    for (int i = 0; i < 40000; ++i)
        text += static_cast<char>('a' + i % 26); // three blocks and a bit
    std::string from = dir.write("site.obs", text);
    std::string to = dir.file("copy.obs");
    EXPECT_EQ(envCopyFile(from.c_str(), to.c_str()), 1);
    EXPECT_EQ(readFile(to), text);
    EXPECT_FALSE(pathExists(to + ".$NEW$"));

    std::string empty = dir.write("empty", "");
    EXPECT_EQ(envCopyFile(empty.c_str(), dir.file("empty.copy").c_str()), 1);
    EXPECT_TRUE(pathExists(dir.file("empty.copy")));

    EXPECT_EQ(envCopyFile(dir.file("missing").c_str(), dir.file("never").c_str()), 0);
    EXPECT_FALSE(pathExists(dir.file("never")));
    EXPECT_EQ(envCopyFile(from.c_str(), dir.file("no/such/dir").c_str()), 0);

    std::string kept = dir.write("kept.obs", "old copy\n");
    int result = runWithFileSizeLimit(20000, [&] { return envCopyFile(from.c_str(), kept.c_str()); });
    EXPECT_EQ(result, 0) << "short write reported as success";
    EXPECT_EQ(readFile(kept), "old copy\n");
    EXPECT_FALSE(pathExists(kept + ".$NEW$")) << "partial copy left behind";
}

// The one routine that rewrites a text file line by line (the options and
// the site list): each line is copied whole, dropped whole or replaced whole,
// whatever its length against the editor's 511-byte view of its start, with
// NUL bytes, CR LF ends and a last line without a newline kept as they are.
struct LineEditCase {
    long line; // the line edited (1-based)
    EnvLineFate fate;
    std::vector<std::string> starts; // what the editor saw, line by line
};

EnvLineFate editOneLine(void *context, const char *start, long number, const char **replacement)
{
    LineEditCase *c = static_cast<LineEditCase *>(context);
    c->starts.emplace_back(start, std::strlen(start));
    *replacement = "edited\n";
    return number == c->line ? c->fate : kEnvLineKeep;
}

TEST(EnvRewriteLines, EveryLineIsCopiedDroppedOrReplacedWhole)
{
    const std::string nul("nul\0byte\n", 9);
    const std::vector<std::vector<std::string>> files = {
        {"short\n", std::string(510, 'a') + "\n", std::string(511, 'b') + "\n", std::string(512, 'c') + "\n", nul,
         std::string(5000, 'd') + "\r\n", "last without newline"},
        {"first\n", std::string(511, 'e')},
    };
    TempDir dir;
    for (const std::vector<std::string> &lines : files) {
        std::string old;
        for (const std::string &l : lines)
            old += l;
        for (long k = 1; k <= static_cast<long>(lines.size()); k++)
            for (const EnvLineFate fate : {kEnvLineKeep, kEnvLineDrop, kEnvLineReplace}) {
                SCOPED_TRACE("line " + std::to_string(k) + " fate " + std::to_string(fate) + " of " +
                             std::to_string(lines.size()));
                const std::string path = dir.write("file", old);
                LineEditCase c{k, fate, {}};
                const EnvLineRewrite rewrite{nullptr, editOneLine, nullptr, &c};
                ASSERT_EQ(envRewriteLines(path.c_str(), 0, &rewrite), 1);
                std::string expected;
                for (size_t i = 0; i < lines.size(); i++)
                    if (static_cast<long>(i) + 1 != k || fate == kEnvLineKeep)
                        expected += lines[i];
                    else if (fate == kEnvLineReplace)
                        expected += "edited\n";
                EXPECT_TRUE(readFile(path) == expected) << "not the file the edit makes";
                ASSERT_EQ(c.starts.size(), lines.size()) << "a line seen twice or not at all";
                for (size_t i = 0; i < lines.size(); i++)
                    EXPECT_EQ(c.starts[i], lines[i].substr(0, std::min<size_t>(lines[i].size(), 511)).c_str())
                        << "line " << i + 1 << " starts otherwise";
                EXPECT_FALSE(pathExists(path + ".$NEW$"));
            }
    }
}

TEST(EnvProgramOnPath, FindsOnlyExecutableFiles)
{
    TempDir dir;
    std::string viewer = dir.write("viewer", "#!/bin/sh\n");
    chmod(viewer.c_str(), 0755);
    dir.write("plain", "not executable\n");
    mkdir(dir.file("adir").c_str(), 0755);
    const char *old = std::getenv("PATH");
    std::string saved = old ? old : "";
    setenv("PATH", ("/nonexistent:" + dir.path()).c_str(), 1);
    struct Case {
        const char *command;
        int expected;
    } cases[] = {
        {"viewer -quiet -title '%s'", 1},
        {"viewer", 1},
        {"plain -x", 0},
        {"adir", 0},
        {"missing -title '%s'", 0},
        {"", 0},
        {" viewer", 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(envProgramOnPath(c.command), c.expected) << c.command;
    EXPECT_EQ(envProgramOnPath((viewer + " -a").c_str()), 1) << "a path to the program";
    setenv("PATH", saved.c_str(), 1);
}

// Sets and restores the locale variables for one case.
class LocaleEnv {
public:
    LocaleEnv()
    {
        for (const char *name : kNames) {
            const char *v = std::getenv(name);
            saved_.push_back(v ? std::string(v) : std::string("\x01"));
            unsetenv(name);
        }
    }
    ~LocaleEnv()
    {
        for (size_t i = 0; i < saved_.size(); ++i) {
            if (saved_[i] == "\x01")
                unsetenv(kNames[i]);
            else
                setenv(kNames[i], saved_[i].c_str(), 1);
        }
    }
    static constexpr const char *kNames[] = {"TAVIK_LOCALE", "LC_CTYPE", "LC_ALL", "LANG"};

private:
    std::vector<std::string> saved_;
};

TEST(EnvChooseLocale, PrecedenceTable)
{
    struct Case {
        const char *name;
        std::vector<std::string> args;
        const char *option;
        const char *env[4]; // TAVIK_LOCALE, LC_CTYPE, LC_ALL, LANG; null = unset
        const char *expected;
    };
    const Case cases[] = {
        {"--lang= first", {"-q", "--lang=ja_JP.eucJP", "-l=de_DE"}, "fr_FR", {"a", "b", "c", "d"}, "ja_JP.eucJP"},
        {"-l= like --lang=", {"-l=de_DE"}, "fr_FR", {"a", "b", "c", "d"}, "de_DE"},
        {"the option", {"scene.stl"}, "fr_FR", {"a", "b", "c", "d"}, "fr_FR"},
        {"TAVIK_LOCALE", {}, "", {"a", "b", "c", "d"}, "a"},
        {"LC_CTYPE", {}, "", {nullptr, "b", "c", "d"}, "b"},
        {"LC_ALL", {}, "", {nullptr, nullptr, "c", "d"}, "c"},
        {"LANG", {}, "", {nullptr, nullptr, nullptr, "d"}, "d"},
        {"empty variables count as unset", {}, "", {"", "", "", "d"}, "d"},
        {"the default", {}, nullptr, {nullptr, nullptr, nullptr, nullptr}, "en_US.ISO_8859-1"},
        {"a word that only contains --lang= is not it", {"x--lang=zz"}, "", {nullptr, nullptr, nullptr, nullptr},
         "en_US.ISO_8859-1"},
    };
    for (const Case &c : cases) {
        LocaleEnv env;
        for (int i = 0; i < 4; ++i)
            if (c.env[i])
                setenv(LocaleEnv::kNames[i], c.env[i], 1);
        std::vector<std::string> args = {"tavik"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        std::vector<char *> argv;
        for (std::string &a : args)
            argv.push_back(&a[0]);
        char buf[64] = "stale";
        envChooseLocaleFrom(buf, sizeof buf, static_cast<int>(argv.size()), argv.data(), c.option);
        EXPECT_STREQ(buf, c.expected) << c.name;
    }
}

TEST(EnvChooseLocale, ResultIsCutTo63Characters)
{
    std::string arg = "--lang=" + std::string(100, 'x');
    char *argv[] = {const_cast<char *>("tavik"), &arg[0]};
    char buf[64];
    envChooseLocaleFrom(buf, sizeof buf, 2, argv, "");
    EXPECT_EQ(std::string(buf), std::string(63, 'x'));
}

TEST(EnvSetCharLocale, MessagesOnFailure)
{
    char *text = nullptr;
    size_t size = 0;
    FILE *err = open_memstream(&text, &size);
    ASSERT_NE(err, nullptr);
    EXPECT_STREQ(envSetCharLocale("C", err), "C");
    std::fflush(err);
    EXPECT_EQ(size, 0u) << "a locale that can be set prints nothing";

    bool fallbackInstalled = std::setlocale(LC_CTYPE, "en_US.ISO_8859-1") != nullptr;
    std::setlocale(LC_CTYPE, "C");
    const char *inEffect = envSetCharLocale("xx_NOWHERE.none", err);
    std::fclose(err);
    if (fallbackInstalled) {
        EXPECT_STREQ(inEffect, "en_US.ISO_8859-1");
        EXPECT_STREQ(text, "tavik: can't set locale xx_NOWHERE.none. Fallback to default (en_US.ISO_8859-1).\n");
    } else {
        EXPECT_STREQ(inEffect, "xx_NOWHERE.none");
        EXPECT_STREQ(text, "tavik: can't set locale xx_NOWHERE.none.\n");
    }
    std::free(text);
    std::setlocale(LC_CTYPE, "C");
}

// What a locale's character handling makes of the program's ISO 8859-1
// texts decides whether start-up falls back, and to which locale.
TEST(EnvCharHandling, LocalesAndTheirFallback)
{
    struct Case {
        const char *locale;
        CharHandling handling;
        const char *fallback; // the one envSetFallbackCharLocale switches to
    } cases[] = {
        {"en_US.ISO-8859-1", CharHandling::Latin1, "en_US.ISO_8859-1"},
        {"en_US.ISO_8859-1", CharHandling::Latin1, "C"}, // never "back" to itself
        {"C", CharHandling::Ascii, "en_US.ISO_8859-1"},
        {"C.UTF-8", CharHandling::Other, "en_US.ISO_8859-1"},
        {"en_US.UTF-8", CharHandling::Other, "en_US.ISO_8859-1"},
    };
    for (const Case &c : cases) {
        ASSERT_NE(std::setlocale(LC_CTYPE, c.locale), nullptr)
            << c.locale << " is not installed: tools/setup-common.sh's tavik_ensure_locale makes it";
        EXPECT_EQ(envCharHandling(), c.handling) << c.locale;
        const char *fallback = envSetFallbackCharLocale(c.locale);
        EXPECT_STREQ(fallback, c.fallback) << c.locale;
        EXPECT_STREQ(std::setlocale(LC_CTYPE, nullptr), c.fallback) << c.locale << ": LC_CTYPE switched";
    }
    std::setlocale(LC_CTYPE, "C");
}

TEST(LanguageCode, FirstTwoLettersBeforeAnUnderscore)
{
    struct Case {
        const char *locale;
        const char *code;
    } cases[] = {
        {"C", ""}, {"C.UTF-8", ""}, {"ja", ""}, {"ja_JP.eucJP", "ja"}, {"en_US.ISO_8859-1", "en"},
        {"", ""}, {"de_", "de"}, {"POSIX", ""},
    };
    for (const Case &c : cases) {
        char code[3] = "zz";
        languageCode(c.locale, code);
        EXPECT_STREQ(code, c.code) << c.locale;
    }
}

TEST(EnvLocalizedPath, ChosenOnlyWhenReadable)
{
    TempDir dir;
    std::string base = dir.write("consname.dat", "x");
    dir.write("consname.dat.ja", "x");
    struct Case {
        const char *name;
        const char *code;
        int len;
        std::string expected;
    } cases[] = {
        {"readable localized file", "ja", 256, base + ".ja"},
        {"no such localized file", "de", 256, base},
        {"no language code (locale C)", "", 256, base},
        {"localized path does not fit", "ja", static_cast<int>(base.size()) + 3, base},
        {"localized path just fits", "ja", static_cast<int>(base.size()) + 4, base + ".ja"},
    };
    for (const Case &c : cases) {
        char path[256];
        strCopyBounded(path, sizeof path, base.c_str());
        envLocalizedPathFor(path, c.len, c.code);
        EXPECT_EQ(std::string(path), c.expected) << c.name;
    }
}

} // namespace
