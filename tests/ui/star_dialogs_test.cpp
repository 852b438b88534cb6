// The Star and Nebula/Galaxy dialogs without X: what they show of a chart,
// which controls can be used, the arrows' steps and the texts OK sends.
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "command/interpreter.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/ui_hooks.h"
#include "ui/dialogs/star_dialogs.h"
#include "tests/support/test_chart.h"

namespace {

std::vector<std::string> texts(const DialogResult &r)
{
    return std::vector<std::string>(r.commands, r.commands + r.commandCount);
}

struct StarDialogTest : ::testing::Test {
    TestChart owner;
    ChartState &chart = *owner;
    int row(const DialogSpec &spec, const char *name)
    {
        const int i = dialogControlIndex(&spec, name);
        EXPECT_GE(i, 0) << name;
        return i;
    }
};

TEST_F(StarDialogTest, TheTablesAreSound)
{
    char why[256] = "";
    EXPECT_EQ(dialogSpecCheck(&kStarDialog, why, sizeof why), 1) << why;
    EXPECT_EQ(dialogSpecCheck(&kNebulaDialog, why, sizeof why), 1) << why;
}

TEST_F(StarDialogTest, TheCatalogueShownIsOneTheChartCanDraw)
{
    struct Case {
        const char *what;
        uint8_t starFlags;
        int saoExists, gscUsable;
        ToggleValue std, sao, gsc;
    };
    const Case cases[] = {
        {"built-in table", kStarShown, 1, 1, kToggleOn, kToggleOff, kToggleOff},
        {"SAO with its file", kStarShown | kStarsFromCatalogFile, 1, 0, kToggleOff, kToggleOn, kToggleOff},
        {"SAO set but its file missing: the built-in one", kStarsFromCatalogFile, 0, 1, kToggleOn, kToggleOff,
         kToggleOff},
        {"GSC with the catalogue", kStarsFromGsc, 0, 1, kToggleOff, kToggleOff, kToggleOn},
        {"GSC set but not available: the built-in one", kStarsFromGsc, 1, 0, kToggleOn, kToggleOff, kToggleOff},
    };
    for (const Case &c : cases) {
        chart.starFlags = c.starFlags;
        StarDialogValues v{};
        starDlgFill(&chart, appData, c.saoExists, c.gscUsable, &v);
        EXPECT_EQ(v.catalogStd, c.std) << c.what;
        EXPECT_EQ(v.catalogSao, c.sao) << c.what;
        EXPECT_EQ(v.catalogGsc, c.gsc) << c.what;
        std::vector<uint8_t> sensitive(static_cast<size_t>(kStarDialog.controlCount), 1);
        kStarDialog.sensitivity(&v, sensitive.data());
        EXPECT_EQ(sensitive[static_cast<size_t>(row(kStarDialog, "CatalogSao"))], c.saoExists) << c.what;
        EXPECT_EQ(sensitive[static_cast<size_t>(row(kStarDialog, "CatalogGsc"))], c.gscUsable) << c.what;
    }
}

TEST_F(StarDialogTest, FillShowsTogglesLimitsAndPath)
{
    chart.starFlags = kStarShown;
    chart.starLabelFlags = kStarLabelBayer | kStarLabelMag;
    chart.starLimit = 72;
    chart.starNameLimit = -15;
    std::snprintf(appData->gscPath, sizeof appData->gscPath, "%s", "/cdrom/gsc");
    StarDialogValues v{};
    starDlgFill(&chart, appData, 0, 0, &v);
    EXPECT_EQ(v.star, kToggleOn);
    EXPECT_EQ(v.starName, kToggleOff);
    EXPECT_EQ(v.starMag, kToggleOn);
    EXPECT_EQ(v.bayer, kToggleOn);
    EXPECT_EQ(v.flamsteed, kToggleOff);
    EXPECT_STREQ(v.magLimit, "7.2");
    EXPECT_STREQ(v.nameMagLimit, "-1.5");
    EXPECT_STREQ(v.gscPath, "/cdrom/gsc");
}

TEST_F(StarDialogTest, NameLimitIsUsableOnlyWithStarsAndALabel)
{
    struct Case {
        ToggleValue star, name, mag, bayer, flamsteed;
        int limit, nameLimit, nameToggles;
    };
    const Case cases[] = {
        {kToggleOn, kToggleOff, kToggleOff, kToggleOff, kToggleOff, 1, 0, 1},
        {kToggleOn, kToggleOff, kToggleOff, kToggleOff, kToggleOn, 1, 1, 1},
        {kToggleOn, kToggleOff, kToggleOn, kToggleOff, kToggleOff, 1, 1, 1},
        {kToggleOff, kToggleOn, kToggleOn, kToggleOn, kToggleOn, 0, 0, 0},
    };
    for (const Case &c : cases) {
        StarDialogValues v{};
        v.star = c.star;
        v.starName = c.name;
        v.starMag = c.mag;
        v.bayer = c.bayer;
        v.flamsteed = c.flamsteed;
        std::vector<uint8_t> s(static_cast<size_t>(kStarDialog.controlCount), 1);
        kStarDialog.sensitivity(&v, s.data());
        for (const char *name : {"EditMagLimit", "ArrowMagLimitUp", "LabelMagLimit"})
            EXPECT_EQ(s[static_cast<size_t>(row(kStarDialog, name))], c.limit) << name;
        for (const char *name : {"EditNameMagLimit", "ArrowNameMagLimitDown", "LabelNameMagLimit"})
            EXPECT_EQ(s[static_cast<size_t>(row(kStarDialog, name))], c.nameLimit) << name;
        EXPECT_EQ(s[static_cast<size_t>(row(kStarDialog, "ToggleStarFlamsteed"))], c.nameToggles);
        EXPECT_EQ(s[static_cast<size_t>(row(kStarDialog, "ToggleStar"))], 1);
    }
}

TEST_F(StarDialogTest, OkClampsTheLimitsToTheChosenCatalogue)
{
    struct Case {
        const char *what;
        const char *limit, *nameLimit;
        ToggleValue std, sao, gsc;
        std::vector<std::string> sent;
    };
    const Case cases[] = {
        {"20.0 with the built-in table is 6.5", "20.0", "-5.0", kToggleOn, kToggleOff, kToggleOff,
         {"STARDATA STD", "SHOW STAR", "HIDE STARNAME", "SHOW STAR_MAG", "HIDE BAYER", "SHOW FLAMSTEED",
          "MAG STAR 6.5", "MAG STARNAME -2.0", "DRIVE"}},
        {"20.0 with the GSC is 17.0", "20.0", "3.0", kToggleOff, kToggleOff, kToggleOn,
         {"STARDATA GSC", "SHOW STAR", "HIDE STARNAME", "SHOW STAR_MAG", "HIDE BAYER", "SHOW FLAMSTEED",
          "MAG STAR 17.0", "MAG STARNAME 3.0", "DRIVE"}},
        {"SAO ends at 9.5; names at 10.0", "9.9", "12", kToggleOff, kToggleOn, kToggleOff,
         {"STARDATA SAO", "SHOW STAR", "HIDE STARNAME", "SHOW STAR_MAG", "HIDE BAYER", "SHOW FLAMSTEED",
          "MAG STAR 9.5", "MAG STARNAME 10.0", "DRIVE"}},
        {"values inside pass unchanged", "-1.2", "4.4", kToggleOn, kToggleOff, kToggleOff,
         {"STARDATA STD", "SHOW STAR", "HIDE STARNAME", "SHOW STAR_MAG", "HIDE BAYER", "SHOW FLAMSTEED",
          "MAG STAR -1.2", "MAG STARNAME 4.4", "DRIVE"}},
    };
    for (const Case &c : cases) {
        StarDialogValues v{};
        v.star = kToggleOn;
        v.starName = kToggleOff;
        v.starMag = kToggleOn;
        v.bayer = kToggleOff;
        v.flamsteed = kToggleOn;
        std::snprintf(v.magLimit, sizeof v.magLimit, "%s", c.limit);
        std::snprintf(v.nameMagLimit, sizeof v.nameMagLimit, "%s", c.nameLimit);
        v.catalogStd = c.std;
        v.catalogSao = c.sao;
        v.catalogGsc = c.gsc;
        DialogResult r;
        dialogResultClear(&r);
        kStarDialog.ok(&v, &chart, appData, &r);
        EXPECT_EQ(r.refused, 0) << c.what;
        EXPECT_EQ(texts(r), c.sent) << c.what;
    }
}

TEST_F(StarDialogTest, ArrowsStepByATenthWithinTheirRange)
{
    struct Case {
        const DialogSpec *spec;
        void (*step)(void *values, int control);
        size_t field, other; // offsets of the stepped field and the one that must stay
        const char *arrow, *before, *after;
    };
    const size_t mag = offsetof(StarDialogValues, magLimit), name = offsetof(StarDialogValues, nameMagLimit);
    const size_t min = offsetof(NebulaDialogValues, minLimit), max = offsetof(NebulaDialogValues, maxLimit);
    const Case cases[] = {
        {&kStarDialog, starDlgSpin, mag, name, "ArrowMagLimitUp", "6.5", "6.6"},
        {&kStarDialog, starDlgSpin, mag, name, "ArrowMagLimitUp", "10.0", "10.0"},
        {&kStarDialog, starDlgSpin, name, mag, "ArrowNameMagLimitUp", "9.9", "10.0"},
        {&kStarDialog, starDlgSpin, name, mag, "ArrowNameMagLimitDown", "-2.0", "-2.0"},
        {&kStarDialog, starDlgSpin, mag, name, "ArrowMagLimitDown", "0.0", "-0.1"},
        {&kNebulaDialog, nebulaDlgArrow, min, max, "ArrowMagMinLimitUp", "15.0", "15.0"},
        {&kNebulaDialog, nebulaDlgArrow, min, max, "ArrowMagMinLimitUp", "14.9", "15.0"},
        {&kNebulaDialog, nebulaDlgArrow, max, min, "ArrowMagMaxLimitDown", "-1.9", "-2.0"},
        {&kNebulaDialog, nebulaDlgArrow, max, min, "ArrowMagMaxLimitUp", "12.0", "12.1"},
    };
    for (const Case &c : cases) {
        std::vector<char> values(c.spec->valuesSize, 0);
        char *field = values.data() + c.field, *other = values.data() + c.other;
        std::snprintf(field, kStarDlgLimitSize, "%s", c.before);
        std::snprintf(other, kStarDlgLimitSize, "%s", "5.0");
        c.step(values.data(), row(*c.spec, c.arrow));
        EXPECT_STREQ(field, c.after) << c.arrow << " from " << c.before;
        EXPECT_STREQ(other, "5.0") << c.arrow << ": the other field";
    }
}

NebulaDialogValues allNebula(ToggleValue shown)
{
    NebulaDialogValues v{};
    v.nebula = shown;
    v.label = v.mag = v.messier = v.ngc = v.ic = kToggleOn;
    v.globular = v.planetary = v.openCluster = v.diffuse = v.galaxy = v.compound = kToggleOn;
    v.limit = kToggleOff;
    std::snprintf(v.minLimit, sizeof v.minLimit, "%s", "12.0");
    std::snprintf(v.maxLimit, sizeof v.maxLimit, "%s", "1.0");
    return v;
}

TEST_F(StarDialogTest, NebulaOkChecksTheLimitsOnlyWhenTheyAreOn)
{
    struct Case {
        const char *what;
        ToggleValue limit;
        const char *min, *max;
        const char *refusal; // null: sent
        std::vector<std::string> tail;
    };
    const Case cases[] = {
        {"min 12.0 max 14.0: the bright end is fainter", kToggleOn, "12.0", "14.0", kNebulaLimitMinMax, {}},
        {"min 19.0 is beyond the range", kToggleOn, "19.0", "1.0", kNebulaLimitRange, {}},
        {"max -2.5 is beyond the range", kToggleOn, "12.0", "-2.5", kNebulaLimitRange, {}},
        {"typed 18.0 is accepted though the arrows stop at 15", kToggleOn, "18.0", "-2.0", nullptr,
         {"MAG NEBULAMIN 18.0", "MAG NEBULAMAX -2.0", "MAG NEBULALIMIT 1", "DRIVE"}},
        {"equal ends", kToggleOn, "9.0", "9.0", nullptr,
         {"MAG NEBULAMIN 9.0", "MAG NEBULAMAX 9.0", "MAG NEBULALIMIT 1", "DRIVE"}},
        {"limit off: no check, whatever the fields hold", kToggleOff, "12.0", "14.0", nullptr,
         {"MAG NEBULALIMIT 0", "DRIVE"}},
    };
    const std::vector<std::string> toggles = {
        "SHOW MESSIER", "SHOW NGC", "SHOW IC", "SHOW GLOBE", "SHOW PLANETARY", "SHOW OPEN",
        "SHOW DIFFUSE", "SHOW GALAXY", "SHOW COMPOUND", "SHOW NEBULA_MAG", "SHOW NEBULA_NAME", "SHOW NEBULA"};
    for (const Case &c : cases) {
        NebulaDialogValues v = allNebula(kToggleOn);
        v.limit = c.limit;
        std::snprintf(v.minLimit, sizeof v.minLimit, "%s", c.min);
        std::snprintf(v.maxLimit, sizeof v.maxLimit, "%s", c.max);
        DialogResult r;
        dialogResultClear(&r);
        kNebulaDialog.ok(&v, &chart, appData, &r);
        if (c.refusal) {
            EXPECT_EQ(r.refused, 1) << c.what;
            EXPECT_STREQ(r.messageResource, c.refusal) << c.what;
            EXPECT_EQ(r.commandCount, 0) << c.what;
        } else {
            std::vector<std::string> want = toggles;
            want.insert(want.end(), c.tail.begin(), c.tail.end());
            EXPECT_EQ(r.refused, 0) << c.what << ": " << r.messageResource;
            EXPECT_EQ(texts(r), want) << c.what;
        }
    }
}

TEST_F(StarDialogTest, NebulaFillAndSensitivityFollowTheChart)
{
    chart.nebulaFlags = kNebulaShown | kNebulaMag;
    chart.nebulaCatalogFlags = kNebulaNgc;
    chart.nebulaTypeFlags = kNebulaGalaxy | kNebulaDiffuse;
    chart.nebulaLimitOn = 0;
    chart.nebulaMin = 125;
    chart.nebulaMax = -10;
    NebulaDialogValues v{};
    kNebulaDialog.fill(&chart, appData, &v);
    EXPECT_EQ(v.nebula, kToggleOn);
    EXPECT_EQ(v.label, kToggleOff);
    EXPECT_EQ(v.mag, kToggleOn);
    EXPECT_EQ(v.messier, kToggleOff);
    EXPECT_EQ(v.ngc, kToggleOn);
    EXPECT_EQ(v.galaxy, kToggleOn);
    EXPECT_EQ(v.diffuse, kToggleOn);
    EXPECT_EQ(v.globular, kToggleOff);
    EXPECT_EQ(v.planetary, kToggleOff);
    EXPECT_EQ(v.limit, kToggleOff);
    EXPECT_STREQ(v.minLimit, "12.5");
    EXPECT_STREQ(v.maxLimit, "-1.0");

    struct Case {
        ToggleValue shown, limit;
        int toggles, limits;
    };
    for (const Case &c : {Case{kToggleOn, kToggleOff, 1, 0}, Case{kToggleOn, kToggleOn, 1, 1},
                          Case{kToggleOff, kToggleOn, 0, 0}}) {
        v.nebula = c.shown;
        v.limit = c.limit;
        std::vector<uint8_t> s(static_cast<size_t>(kNebulaDialog.controlCount), 1);
        kNebulaDialog.sensitivity(&v, s.data());
        EXPECT_EQ(s[static_cast<size_t>(row(kNebulaDialog, "ToggleNebula"))], 1);
        for (const char *name : {"ToggleNebulaLabel", "ToggleNebulaCompound", "ToggleNebulaLimit"})
            EXPECT_EQ(s[static_cast<size_t>(row(kNebulaDialog, name))], c.toggles) << name;
        for (const char *name : {"LabelMagMinLimit", "EditMagMaxLimit", "ArrowMagMaxLimitDown"})
            EXPECT_EQ(s[static_cast<size_t>(row(kNebulaDialog, name))], c.limits) << name;
    }
}

// Through the interpreter: the types shown may switch the deep-sky objects
// on, but the dialog's own Nebula toggle, sent last, decides.
TEST_F(StarDialogTest, NebulaOffStaysOffWhateverTypesAreShown)
{
    uiHooksReset();
    NebulaDialogValues v = allNebula(kToggleOff);
    DialogResult r;
    dialogResultClear(&r);
    kNebulaDialog.ok(&v, &chart, appData, &r);
    ASSERT_EQ(r.refused, 0);
    chart.nebulaFlags = kNebulaShown;
    chart.nebulaTypeFlags = 0;
    for (int i = 0; i < r.commandCount; i++)
        if (std::string(r.commands[i]) != "DRIVE")
            stkExecute(&chart, r.commands[i]);
    EXPECT_EQ(chart.nebulaFlags & kNebulaShown, 0);
    EXPECT_EQ(chart.nebulaTypeFlags & kNebulaAllTypes, kNebulaAllTypes);
    EXPECT_EQ(chart.nebulaFlags & (kNebulaName | kNebulaMag), kNebulaName | kNebulaMag);
}

} // namespace
