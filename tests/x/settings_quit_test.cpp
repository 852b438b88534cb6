// The quit path of the real program writes the whole options file.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "tests/support/temp_dir.h"
#include "tests/support/x_server.h"
#include "tests/support/x_tavik.h"

namespace {

// The keys of an options file, line by line.
std::vector<std::string> optionKeys(const std::string &text)
{
    std::vector<std::string> keys;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
        keys.push_back(line.substr(0, line.find(" = ")));
    return keys;
}

TEST(SettingsQuit, ExitWritesEveryKeyInItsOrderAndDropsStrayLines)
{
    XServer server;
    ASSERT_TRUE(server.ok()) << server.why();
    TempDir home;
    // Keys in a scrambled order, in other spellings, with a stray line.
    writeOptionsFile(home.path(), {
                                      "socketport = 0",
                                      "TZ=UTC",
                                      "# a note",
                                      "Geometry = 640x480+0+0",
                                      std::string("Locale = ") + kTestLocale,
                                      "confirmquit = no",
                                      "GscDataPath = /gsc/root",
                                  });
    TavikRunOptions o;
    o.display = server.name();
    o.home = home.path();
    o.args = xrmBindStkDoit("F5", "EXIT");
    o.args.push_back("-q");
    TavikProcess p(TAVIK_EXECUTABLE, o);
    Window w = xWaitForWindow(server.display(), "tavik", "TAvik", 30000);
    ASSERT_NE(w, 0u) << p.err();
    ASSERT_TRUE(xSendKey(server.display(), w, "F5"));
    ASSERT_TRUE(p.waitExit(20000)) << p.err();
    EXPECT_EQ(p.status(), 0) << p.err();

    std::string text = readFile(home.file(".tavik/options"));
    EXPECT_EQ(optionKeys(text),
              (std::vector<std::string>{"Toolbar", "TipHelp", "ConfirmQuit", "ConfirmInit", "StlFileIoPath",
                                        "SaveImagePath", "UserObjectFilePath", "GscDataPath", "SiteName",
                                        "Geometry", "Locale", "TZ", "SocketPort"}))
        << text;
    for (const std::string &line :
         {std::string("ConfirmQuit = False\n"), std::string("ConfirmInit = True\n"),
          "StlFileIoPath = " + home.path() + "\n", std::string("GscDataPath = /gsc/root\n"),
          std::string("Geometry = 640x480+0+0\n"), "Locale = " + std::string(kTestLocale) + "\n",
          std::string("TZ = UTC\n"), std::string("SocketPort = 0\n")})
        EXPECT_NE(text.find(line), std::string::npos) << line << " missing from\n" << text;
    EXPECT_NE(access(home.file(".tavik/options.$NEW$").c_str(), F_OK), 0) << "temporary left behind";
}

} // namespace
