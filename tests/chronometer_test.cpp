// The chronometer through gaugehost: buttons, set mode, the time texts and
// their counters, the upper display, visibility and backlight.
#include <cmath>
#include <limits>

#include "chronometer_panel.h"

namespace {

// One step of a scenario: an action, then one panel cycle (or as many as
// "cycles" says), then the lower display's text when one is expected.
struct Step {
    const char* action;
    double value = 0;
    const char* lower = nullptr;
};

void act(ChronometerPanel& p, const Step& step) {
    const std::string a = step.action;
    if (a == "sel") p.sel();
    else if (a == "ctrl") p.ctrl();
    else if (a == "hold") p.ctrlRepeat();
    else if (a == "right") p.rightClick();
    else if (a == "oat") p.oatVolt();
    else if (a == "tick") p.setVar(tickVar, step.value);
    else if (a == "time") p.setVar(timeSourceVar, step.value);
    else if (a == "power") p.setVar(clockPowerVar, step.value);
    else if (a == "ftHold") p.setVar(flightHoldVar, step.value);
    else if (a == "clock") p.setClock(int(step.value) / 100, int(step.value) % 100);
    else if (a != "cycles") ADD_FAILURE() << "unknown step " << a;
    p.cycles(a == "cycles" ? int(step.value) : 1);
}

void run(ChronometerPanel& p, std::initializer_list<Step> steps) {
    int number = 0;
    for (const Step& step : steps) {
        ++number;
        act(p, step);
        if (step.lower) EXPECT_EQ(p.lowerText(), step.lower) << "step " << number << ": " << step.action;
    }
}

std::vector<std::pair<uint32_t, uint32_t>> keys(const ChronometerPanel& p) {
    std::vector<std::pair<uint32_t, uint32_t>> sent;
    for (const KeyEventRecord& key : p.hosted.host.keyEvents) sent.emplace_back(key.eventId, key.value);
    return sent;
}

using Keys = std::vector<std::pair<uint32_t, uint32_t>>;

TEST(ChronometerSetMode, UtSetFrom1537SendsTheNewTimeAndShowsItBack) {
    ChronometerPanel p;
    run(p, {{"clock", 1537, "15:37"}, {"right", 0, "15:37"}, {"ctrl", 0, "25:37"}, {"sel", 0, "23:37"},
            {"ctrl", 0, "20:37"}, {"ctrl", 0, "21:37"}, {"sel", 0, "21:37"}, {"sel", 0, "21:37"}});
    EXPECT_TRUE(keys(p).empty());
    run(p, {{"sel", 0, "21:37"}, {"cycles", 5, "21:37"}});
    EXPECT_EQ(keys(p), (Keys{{66075, 21}, {66076, 37}}));
}

TEST(ChronometerSetMode, LtSetEndsOnTheSecondSelAndSendsOnlyTheHours) {
    ChronometerPanel p;
    run(p, {{"clock", 1537}, {"sel", 0, "15:37"}, {"right"}, {"ctrl", 0, "25:37"}, {"sel", 0, "23:37"},
            {"ctrl", 0, "20:37"}});
    EXPECT_TRUE(keys(p).empty());
    run(p, {{"sel", 0, "20:37"}});
    EXPECT_EQ(keys(p), (Keys{{66044, 20}}));
    EXPECT_EQ(p.text(Face::timeModeLabel), " LT");
    EXPECT_EQ(p.hosted.host.variables.clock.localOffsetHours, 5);
}

TEST(ChronometerSetMode, UnitsOfHoursCycleWithinTheirLimits) {
    ChronometerPanel p;
    // UT: 23 is the last hour.
    run(p, {{"clock", 1537}, {"right"}, {"ctrl"}, {"sel", 0, "23:37"}, {"ctrl", 0, "20:37"}, {"ctrl", 0, "21:37"},
            {"ctrl", 0, "22:37"}, {"ctrl", 0, "23:37"}, {"ctrl", 0, "20:37"}, {"sel"}, {"sel"}, {"sel"}});
    // The flight-time alarm goes on to 24.
    run(p, {{"sel"}, {"sel", 0, " 0:00"}, {"right", 0, "00:00"}, {"ctrl", 0, "10:00"}, {"ctrl", 0, "20:00"},
            {"sel", 0, "20:00"}, {"ctrl", 0, "21:00"}, {"ctrl", 0, "22:00"}, {"ctrl", 0, "23:00"},
            {"ctrl", 0, "24:00"}, {"ctrl", 0, "20:00"}, {"sel"}, {"ctrl", 0, "20:10"}, {"sel"},
            {"ctrl", 0, "20:11"}, {"sel", 0, " 0:00"}});
}

TEST(ChronometerSetMode, WithoutPowerOnlyTheRightClickActs) {
    ChronometerPanel p;
    run(p, {{"clock", 1537}, {"power", 0.0}});
    for (int i = 0; i < 5; ++i) run(p, {{"sel", 0, "15:37"}, {"ctrl", 0, "15:37"}, {"hold", 0, "15:37"}});
    run(p, {{"right", 0, "15:37"}, {"ctrl", 0, "15:37"}, {"sel", 0, "15:37"}, {"power", 1.0}, {"ctrl", 0, "25:37"}});
    EXPECT_TRUE(keys(p).empty());
}

struct TextCase {
    const char* what;
    std::initializer_list<Step> steps;
    Face face;
    double tick;
    const char* text;
};

// Lit and dark halves of the blink cycle: set-mode digits and colons.
TEST(ChronometerTexts, BlinkAndSetModeDarkHalves) {
    const TextCase cases[] = {
        {"UT colon lit", {{"clock", 905}}, Face::clockText, 8, " 9:05"},
        {"UT colon dark", {{"clock", 905}}, Face::clockText, 9, " 9 05"},
        {"UT colon lit again", {{"clock", 905}}, Face::clockText, 18, " 9:05"},
        {"tick wraps at 16 bits", {{"clock", 905}}, Face::clockText, 65536 + 9, " 9 05"},
        {"UT step 1 lit", {{"clock", 905}, {"right"}}, Face::clockText, 0, "09:05"},
        {"UT step 1 dark", {{"clock", 905}, {"right"}}, Face::clockText, 9, " 9:05"},
        {"UT step 2 dark", {{"clock", 1537}, {"right"}, {"sel"}}, Face::clockText, 9, "1 :37"},
        {"UT step 3 dark", {{"clock", 1537}, {"right"}, {"sel"}, {"sel"}}, Face::clockText, 9, "15: 7"},
        {"UT step 4 dark", {{"clock", 1537}, {"right"}, {"sel"}, {"sel"}, {"sel"}}, Face::clockText, 9, "15:3 "},
        {"FT alarm step 1 dark", {{"sel"}, {"sel"}, {"right"}, {"ctrl"}, {"sel"}, {"ctrl"}, {"ctrl"}, {"ctrl"},
                                  {"ctrl"}, {"ctrl"}, {"ctrl"}, {"ctrl"}, {"ctrl"}, {"ctrl"}, {"sel"}, {"sel"},
                                  {"ctrl"}, {"ctrl"}, {"ctrl"}, {"ctrl"}, {"ctrl"}, {"sel"}, {"right"}},
         Face::flightTimeText, 9, " 9 05"},
        {"ET preset step 1 dark", {{"sel"}, {"sel"}, {"sel"}, {"right"}, {"sel"}, {"ctrl"}, {"ctrl"}, {"ctrl"},
                                   {"ctrl"}, {"ctrl"}, {"ctrl"}, {"ctrl"}, {"ctrl"}, {"ctrl"}, {"sel"}, {"sel"},
                                   {"ctrl"}, {"ctrl"}, {"ctrl"}, {"ctrl"}, {"ctrl"}, {"sel"}, {"right"}},
         Face::elapsedTimeText, 9, " 9 05"},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.what);
        ChronometerPanel p;
        run(p, c.steps);
        p.setVar(tickVar, c.tick);
        p.cycles(1);
        EXPECT_EQ(p.text(c.face), c.text);
    }
}

TEST(ChronometerFlightTime, CountsFromTheFirstSecondAndWrapsAfter9959) {
    ChronometerPanel p;
    run(p, {{"sel"}, {"sel", 0, " 0:00"}, {"time", 1.0}, {"cycles", 1, " 0:01"}});
    // 99:59 is 5999 minutes; the counter carries one minute per cycle.
    run(p, {{"time", 1.0 + 5998 * 60.0}, {"cycles", 6100, "99:59"}, {"time", 1.0 + 5999 * 60.0},
            {"cycles", 2, " 0:00"}});
}

TEST(ChronometerFlightTime, HeldTimeIsNeverAdded) {
    ChronometerPanel p;
    run(p, {{"sel"}, {"sel"}, {"time", 61.0}, {"cycles", 3, " 0:02"}, {"ftHold", 1.0}, {"time", 600.0},
            {"cycles", 3, " 0:02"}, {"tick", 9, " 0:02"}, {"ftHold", 0.0}, {"cycles", 3, " 0 02"}});
}

TEST(ChronometerFlightTime, UnpoweredKeepsTheTextAndAddsTheTimeLater) {
    ChronometerPanel p;
    run(p, {{"sel"}, {"sel"}, {"time", 61.0}, {"cycles", 3, " 0:02"}, {"power", 0.0}, {"time", 181.0},
            {"cycles", 5, " 0:02"}, {"power", 1.0}, {"cycles", 5, " 0:04"}});
}

TEST(ChronometerFlightTime, AlarmForcesFtAndFlashesUntilAcknowledged) {
    ChronometerPanel p;
    // Alarm 0:02: FT, set mode, to the units of minutes, two CTRL, done.
    run(p, {{"sel"}, {"sel"}, {"right"}, {"sel"}, {"sel"}, {"sel"}, {"ctrl"}, {"ctrl"}, {"sel", 0, " 0:00"},
            {"sel"}, {"sel"}, {"sel", 0, "12:00"}});
    // The counter runs while UT is shown and forces FT when it meets the alarm.
    run(p, {{"time", 61.0}, {"cycles", 1, "12:00"}, {"cycles", 2, " 0:02"}, {"tick", 9, " "}, {"cycles", 30, " "}});
    EXPECT_EQ(p.text(Face::timerModeLabel), "FT");
    run(p, {{"sel", 0, " 0 02"}, {"cycles", 30, " 0 02"}, {"sel", 0, " 0:00"}});  // acknowledged; then on to ET
    EXPECT_EQ(p.text(Face::timerModeLabel), " ET");
}

TEST(ChronometerFlightTime, LongPressOf38CallsResetsAndTwentyQuietCyclesEndIt) {
    ChronometerPanel p;
    run(p, {{"sel"}, {"sel"}, {"time", 121.0}, {"cycles", 4, " 0:03"}});
    for (int call = 1; call <= 37; ++call) run(p, {{call == 1 ? "ctrl" : "hold", 0, " 0:03"}});
    run(p, {{"hold", 0, "99:59"}, {"hold", 0, "99:59"}, {"cycles", 18, "99:59"}, {"cycles", 1, "99:59"}});
    // The time source stood still during the reset: 0:00 shows once the press ends.
    run(p, {{"cycles", 1, " 0:00"}});
}

TEST(ChronometerFlightTime, NineteenSpacedClicksDoNothing) {
    ChronometerPanel p;
    run(p, {{"sel"}, {"sel"}, {"time", 121.0}, {"cycles", 4, " 0:03"}});
    for (int click = 0; click < 19; ++click) run(p, {{"ctrl"}, {"cycles", 10, " 0:03"}});
    for (int click = 0; click < 19; ++click) run(p, {{"ctrl"}, {"cycles", 10}});
    EXPECT_EQ(p.lowerText(), "99:59");
}

TEST(ChronometerElapsedTime, CountsUpPastAnHourWithABlinkingColon) {
    ChronometerPanel p;
    run(p, {{"sel"}, {"sel"}, {"sel", 0, " 0:00"}, {"time", 5.0}, {"ctrl", 0, " 0:00"}, {"time", 7.5, " 0:02"},
            {"time", 5.0 + 3599.0}, {"cycles", 70, "59:59"}, {"time", 5.0 + 3600.0, " 1:00"}, {"tick", 9, " 1 00"},
            {"ctrl", 0, " 0:00"}, {"time", 9000.0, " 0:00"}});
}

TEST(ChronometerElapsedTime, CountdownRunsOutFlashesAndForcesEt) {
    ChronometerPanel p;
    // Preset 0:10: ET, set mode, tens of seconds once, done; then start.
    run(p, {{"sel"}, {"sel"}, {"sel"}, {"right"}, {"sel"}, {"sel"}, {"ctrl", 0, "00:10"}, {"sel"}, {"sel", 0, " 0:10"},
            {"ctrl", 0, " 0:10"}, {"time", 1.0, " 0:09"}, {"time", 10.0, " 0:00"}, {"sel", 0, "12:00"},
            {"time", 10.05, "12:00"}});
    // lowerMode changes in this cycle's callbacks; the next cycle shows ET.
    run(p, {{"tick", 9, "12 00"}, {"cycles", 1, " "}, {"time", 12.0, " "}, {"tick", 0, " 0:02"}, {"sel", 0, " 0:02"}, {"sel", 0, "12:00"}});
}

TEST(ChronometerElapsedTime, CtrlDuringACountdownResetsButKeepsItArmed) {
    ChronometerPanel p;
    run(p, {{"sel"}, {"sel"}, {"sel"}, {"right"}, {"ctrl", 0, "10:00"}, {"sel"}, {"sel"}, {"sel"},
            {"sel", 0, "10:00"}, {"ctrl"}, {"time", 30.0, " 9:30"}, {"ctrl", 0, " 0:00"}, {"ctrl", 0, " 0:00"},
            {"time", 30.5, " 0:00"}, {"tick", 9, " "}});
}

struct UpperCase {
    int presses;
    double celsius;
    double volts;
    const char* text;
    double result;
};

TEST(ChronometerUpperDisplay, VoltsAndTemperatures) {
    const UpperCase cases[] = {
        {0, 0, 28.0, "28.0E", 0.0},  {0, 0, 0.0, "0.0E", 1.0},    {0, 0, 13.75, "13.8E", 0.0},
        {0, 0, 100.0, "99.9E", 0.0}, {0, 0, -10.0, "-9.9E", 0.0}, {0, 0, 1e300, "99.9E", 0.0},
        {1, 20.0, 0, " 6 8F", 0.0},  {1, 150.0, 0, "30 0F", 0.0}, {1, 148.8889, 0, "30 0F", 0.0},
        {1, -25.0, 0, "-1 3F", 0.0}, {1, -20.0, 0, "-  4F", 0.0}, {1, -17.5, 0, "   0F", 0.0},
        {1, 0.0, 0, " 3 2F", 0.0},
        {2, 0.0, 0, "   0C", 1.0},   {2, -0.4, 0, "-  0C", 0.0},  {2, 7.9, 0, "   7C", 0.0},
        {2, -15.7, 0, "-1 5C", 0.0}, {2, 200.0, 0, "15 0C", 0.0}, {2, 150.0, 0, "15 0C", 0.0},
        {2, -120.0, 0, "-9 9C", 0.0}, {3, 20.0, 12.0, "12.0E", 0.0},
    };
    for (const UpperCase& c : cases) {
        SCOPED_TRACE(c.text);
        ChronometerPanel p;
        for (int i = 0; i < c.presses; ++i) p.oatVolt();
        p.setVar(oatCelsiusVar, c.celsius);
        p.setVar(busVoltsVar, c.volts);
        p.cycles(1);
        StringElement* upper = p.element(Face::upperText);
        EXPECT_EQ(p.text(Face::upperText), c.text);
        EXPECT_EQ(upper->textCallback(upper), c.result);
    }
}

TEST(ChronometerFace, VisibilityFollowsTheLowerModeAndLabelsNameIt) {
    ChronometerPanel p(false);
    for (Face face : {Face::clockText, Face::flightTimeText, Face::elapsedTimeText, Face::timeModeLabel,
                      Face::timerModeLabel})
        EXPECT_TRUE(p.hidden(face)) << "hidden before the first cycle";
    EXPECT_FALSE(p.hidden(Face::upperText));

    const struct {
        Face shownText;
        Face shownLabel;
        const char* label;
    } modes[] = {{Face::clockText, Face::timeModeLabel, "UT"}, {Face::clockText, Face::timeModeLabel, " LT"},
                 {Face::flightTimeText, Face::timerModeLabel, "FT"},
                 {Face::elapsedTimeText, Face::timerModeLabel, " ET"}};
    for (const auto& mode : modes) {
        p.cycles(1);
        for (Face face : {Face::clockText, Face::flightTimeText, Face::elapsedTimeText})
            EXPECT_EQ(p.hidden(face), face != mode.shownText) << mode.label;
        EXPECT_FALSE(p.hidden(mode.shownLabel)) << mode.label;
        EXPECT_EQ(p.hidden(Face::timeModeLabel), mode.shownLabel != Face::timeModeLabel) << mode.label;
        EXPECT_EQ(p.text(mode.shownLabel), mode.label);
        EXPECT_FALSE(p.hidden(Face::upperText));
        p.sel();
    }
    p.cycles(1);
    EXPECT_EQ(p.text(Face::timeModeLabel), "UT");
    EXPECT_EQ(p.text(Face::timerModeLabel), " ET") << "a label keeps its last text";
}

TEST(ChronometerFace, BacklightFollowsThePanelLights) {
    const struct {
        double lights;
        bool bright;
    } cases[] = {{0.0, false}, {0.5, true}, {-1.0, true}, {1.0, true}, {0.0, false}};
    ChronometerPanel p;
    for (const auto& c : cases) {
        p.setVar(panelLightsVar, c.lights);
        p.cycles(1);
        EXPECT_EQ((p.displayBacking()->imageFlags & imageFlagBright) != 0, c.bright) << c.lights;
        EXPECT_EQ(p.displayBacking()->imageFlags & ~imageFlagBright, 0x3u);
        const auto* icon = reinterpret_cast<IconElement*>(p.displayBacking());
        EXPECT_EQ(p.hosted.host.iconResults[icon], c.bright ? 1.0 : 0.0) << "image 3 lit, image 2 unlit";
    }
}

TEST(ChronometerFace, RightClicksReachSetModeAcrossTheLowerDisplayOnly) {
    ChronometerPanel p;
    makeActive(p.hosted.host);
    EXPECT_NE(mouseAreaAt(p.hosted.gauge, 83, 51, mouseRightSingle), nullptr);
    EXPECT_NE(mouseAreaAt(p.hosted.gauge, 28, 32, mouseRightSingle), nullptr);
    EXPECT_EQ(mouseAreaAt(p.hosted.gauge, 27, 40, mouseRightSingle), nullptr);
    EXPECT_EQ(mouseAreaAt(p.hosted.gauge, 50, 40, mouseLeftSingle), nullptr);
    EXPECT_EQ(mouseAreaAt(p.hosted.gauge, 25, 65, mouseRepeatWhileHeld), nullptr) << "SEL does not repeat";
    EXPECT_NE(mouseAreaAt(p.hosted.gauge, 52, 65, mouseRepeatWhileHeld), nullptr) << "CTRL repeats";
}

// Host values that become integers may be anything; the texts stay in
// their storage (the host checks the guards after every callback).
TEST(ChronometerBadInput, WildHostValuesKeepTextsInTheirStorage) {
    const double wild[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                           -std::numeric_limits<double>::infinity(), 1e300, -1e300, 4294967296.0 * 3 + 7, -0.5};
    for (double value : wild) {
        SCOPED_TRACE(value);
        ChronometerPanel p;
        p.setVar(6, value);
        p.setVar(7, value);
        p.setVar(tickVar, value);
        p.setVar(busVoltsVar, value);
        p.setVar(oatCelsiusVar, value);
        p.cycles(2);
        for (int press = 0; press < 4; ++press) {
            p.sel();
            p.ctrl();
            p.setVar(timeSourceVar, value * press);
            p.cycles(3);
            p.oatVolt();
        }
        EXPECT_TRUE(p.hosted.host.errors.empty());
    }
}

// Seconds of three digits would not fit: they show as 59 while the minutes
// catch up, one a cycle; two-digit values show as they are.
TEST(ChronometerBadInput, JumpOfTheTimeSourceKeepsEtTextReadable) {
    ChronometerPanel p;
    run(p, {{"sel"}, {"sel"}, {"sel"}, {"ctrl"}, {"time", 250.0, " 1:59"}, {"cycles", 1, " 2:59"},
            {"cycles", 1, " 3:70"}, {"cycles", 1, " 4:10"}, {"cycles", 1, " 4:10"}});
}

}  // namespace
