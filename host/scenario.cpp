#include "scenario.h"

#include <windows.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <vector>

#include "element_walk.h"

namespace {

struct ScriptError {
    ScenarioStatus status;
    std::string message;
};

[[noreturn]] void fail(const std::string& message) { throw ScriptError{scenarioError, message}; }
[[noreturn]] void unmet(const std::string& message) { throw ScriptError{scenarioExpectationFailed, message}; }

// Words of a line; "quoted text" is one word and may hold blanks.
std::vector<std::string> splitWords(const std::string& line) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t' || line[i] == '\r') {
            ++i;
        } else if (line[i] == '#') {
            break;
        } else if (line[i] == '"') {
            const size_t end = line.find('"', i + 1);
            if (end == std::string::npos) fail("a quoted text is not closed");
            words.push_back(line.substr(i + 1, end - i - 1));
            i = end + 1;
        } else {
            const size_t end = line.find_first_of(" \t\r", i);
            words.push_back(line.substr(i, end == std::string::npos ? std::string::npos : end - i));
            i = end == std::string::npos ? line.size() : end;
        }
    }
    return words;
}

double number(const std::string& word) {
    char* end = nullptr;
    const double value = std::strtod(word.c_str(), &end);
    if (word.empty() || *end != '\0') fail("'" + word + "' is not a number");
    return value;
}

int whole(const std::string& word) {
    const double value = number(word);
    if (value != std::floor(value) || std::fabs(value) > 1e9) fail("'" + word + "' is not a whole number");
    return int(value);
}

std::string shown(double value) {
    std::ostringstream text;
    text.precision(15);
    text << value;
    return text.str();
}

struct VariableLog {
    std::ofstream file;
    std::vector<std::string> names;
    std::string pendingEvent;
};

struct Scenario {
    GaugeHost host;
    LoadedGauge gauge;
    std::ostream& out;
    std::unique_ptr<VariableLog> log;
    std::map<std::string, FontChoice> fonts = RenderOptions::defaultFonts();

    explicit Scenario(std::ostream& output) : out(output) {}
    ~Scenario() { unloadGauge(host, gauge); }

    void needGauge() const {
        if (!gauge.module) fail("no module is loaded (use: load MODULE.gau)");
    }
};

// Wall-clock time, so a log lines up with a recording made beside it.
double unixSeconds() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const uint64_t ticks = (uint64_t(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return double(ticks - 116444736000000000ull) / 1e7;
}

void logCycle(Scenario& s) {
    if (!s.log) return;
    VariableLog& log = *s.log;
    log.file << s.host.cycles << ',' << std::fixed << unixSeconds() << std::defaultfloat;
    for (const std::string& name : log.names) log.file << ',' << namedVariable(s.host, name);
    log.file << ',' << log.pendingEvent << '\n';
    log.pendingEvent.clear();
}

void cycle(Scenario& s) {
    s.needGauge();
    runCycle(s.host, s.gauge);
    logCycle(s);
}

void runFor(Scenario& s, double seconds) {
    const double period = 1000.0 / cyclesPerSecond;
    const DWORD start = GetTickCount();
    for (long i = 0; i < long(seconds * cyclesPerSecond); ++i) {
        cycle(s);
        const double due = (i + 1) * period;
        const double now = double(GetTickCount() - start);
        if (due > now) Sleep(DWORD(due - now));
    }
}

// Elements are named by their number in the tree, parents first, from 1.
ElementHeader* elementNumber(Scenario& s, const std::string& word) {
    s.needGauge();
    const int wanted = whole(word);
    int number = 0;
    ElementHeader* found = nullptr;
    forEachElement(s.gauge.gauge->elementList[0], [&](ElementHeader* e) {
        if (++number == wanted) found = e;
    });
    if (!found) fail("the gauge has no element " + word + " (it has " + std::to_string(number) + ")");
    return found;
}

const StringElement* stringElement(Scenario& s, const std::string& word) {
    ElementHeader* e = elementNumber(s, word);
    if (e->elementKind != elementString) fail("element " + word + " is not a string element");
    return reinterpret_cast<const StringElement*>(e);
}

uint32_t buttonFlags(const std::string& word) {
    if (word == "left") return mouseLeftSingle;
    if (word == "right") return mouseRightSingle;
    if (word == "repeat") return mouseRepeatWhileHeld;
    fail("'" + word + "' is not a button (left, right, repeat)");
}

// "X Y" or "area N": the point to click; returns how many words it took.
size_t clickPoint(Scenario& s, const std::vector<std::string>& w, size_t at, int& x, int& y) {
    s.needGauge();
    if (w.size() < at + 2) fail("a click needs X Y or area N");
    if (w[at] != "area") {
        x = whole(w[at]);
        y = whole(w[at + 1]);
        return 2;
    }
    const int wanted = whole(w[at + 1]);
    const MouseArea* area = s.gauge.gauge->mouseAreas;
    for (int n = 1; area && area->areaKind != mouseListEnd; ++n, ++area) {
        if (n != wanted) continue;
        x = area->x + area->width / 2;
        y = area->y + area->height / 2;
        return 2;
    }
    fail("the gauge has no mouse area " + w[at + 1]);
}

void click(Scenario& s, int x, int y, uint32_t flags) {
    makeActive(s.host);
    if (!clickGauge(s.gauge, x, y, flags)) fail("no mouse area takes that click at " + std::to_string(x) + "," + std::to_string(y));
}

void doLoad(Scenario& s, const std::vector<std::string>& w) {
    if (w.size() < 2) fail("load needs a module file");
    std::string gaugeName, parameter;
    for (size_t i = 2; i + 1 < w.size(); i += 2) {
        if (w[i] == "gauge") gaugeName = w[i + 1];
        else if (w[i] == "param") parameter = w[i + 1];
        else fail("load takes 'gauge NAME' and 'param TEXT', not '" + w[i] + "'");
    }
    if (w.size() % 2 == 1) fail("load: '" + w.back() + "' has no value");
    unloadGauge(s.host, s.gauge);
    std::string error;
    if (!loadGauge(s.host, w[1], gaugeName, parameter, s.gauge, error)) fail(error);
}

void doExpect(Scenario& s, const std::vector<std::string>& w) {
    if (w.size() < 4) fail("expect needs what, which and the value");
    const std::string& what = w[1];
    if (what == "text") {
        const std::string actual = elementText(s.host, stringElement(s, w[2]));
        if (actual != w[3]) unmet("expected text of element " + w[2] + " \"" + w[3] + "\", got \"" + actual + "\"");
    } else if (what == "var") {
        const double actual = namedVariable(s.host, w[2]);
        if (actual != number(w[3])) unmet("expected " + w[2] + " = " + w[3] + ", got " + shown(actual));
    } else if (what == "visible") {
        const bool visible = !(elementNumber(s, w[2])->imageFlags & imageFlagHidden);
        if (w[3] != "yes" && w[3] != "no") fail("expect visible takes yes or no");
        if (visible != (w[3] == "yes")) unmet("expected element " + w[2] + (visible ? " hidden, it is shown" : " shown, it is hidden"));
    } else if (what == "key") {
        const uint32_t id = uint32_t(whole(w[2]));
        const uint32_t value = uint32_t(whole(w[3]));
        std::string sent;
        for (const KeyEventRecord& key : s.host.keyEvents) {
            if (key.eventId == id && key.value == value) return;
            sent += " " + std::to_string(key.eventId) + "=" + std::to_string(key.value);
        }
        unmet("expected key event " + w[2] + " with " + w[3] + ", sent:" + (sent.empty() ? " none" : sent));
    } else {
        fail("expect takes text, var, visible or key, not '" + what + "'");
    }
}

void doRender(Scenario& s, const std::vector<std::string>& w) {
    s.needGauge();
    if (w.size() < 2) fail("render needs a PNG file");
    RenderOptions options;
    options.fonts = s.fonts;
    for (size_t i = 2; i < w.size(); ++i) {
        if (w[i] == "night") options.night = true;
        else if (w[i] == "scale" && i + 1 < w.size()) options.scale = whole(w[++i]);
        else if (w[i] == "language" && i + 1 < w.size()) options.language = LANGID(whole(w[++i]));
        else fail("render takes night, scale N and language 1033|1049, not '" + w[i] + "'");
    }
    RenderedImage image;
    std::string error;
    if (!renderGauge(s.host, s.gauge, options, image, error) || !writePng(image, w[1], error)) fail(error);
    s.out << "rendered " << w[1] << '\n';
}

void doLog(Scenario& s, const std::vector<std::string>& w) {
    if (w.size() == 2 && w[1] == "stop") {
        s.log.reset();
        return;
    }
    if (w.size() < 4 || w[w.size() - 2] != "to") fail("log needs: log NAME... to FILE.csv");
    auto log = std::make_unique<VariableLog>();
    log->names.assign(w.begin() + 1, w.end() - 2);
    log->file.open(w.back());
    if (!log->file) fail("cannot write " + w.back());
    log->file << "cycle,unix_seconds";
    for (const std::string& name : log->names) log->file << ',' << name;
    log->file << ",event\n";
    s.log = std::move(log);
}

void noteEvent(Scenario& s, const std::string& event) {
    if (s.log) s.log->pendingEvent += (s.log->pendingEvent.empty() ? "" : " ") + event;
}

void doPrint(Scenario& s, const std::vector<std::string>& w) {
    if (w.size() != 3) fail("print takes var NAME or text N");
    if (w[1] == "var") s.out << w[2] << '=' << shown(namedVariable(s.host, w[2])) << '\n';
    else if (w[1] == "text") s.out << "text " << w[2] << " \"" << elementText(s.host, stringElement(s, w[2])) << "\"\n";
    else fail("print takes var NAME or text N");
}

void needWords(const std::vector<std::string>& w, size_t count, const char* usage) {
    if (w.size() != count) fail(std::string("usage: ") + usage);
}

void doClock(Scenario& s, const std::string& word) {
    int h = 0, m = 0, sec = 0;
    if (std::sscanf(word.c_str(), "%d:%d:%d", &h, &m, &sec) < 2 || h < 0 || h > 23 || m < 0 || m > 59 || sec < 0 || sec > 59)
        fail("clock takes HH:MM or HH:MM:SS, not '" + word + "'");
    setClockTime(s.host.variables.clock, h, m, sec);
}

void runCommand(Scenario& s, const std::vector<std::string>& w) {
    const std::string& c = w[0];
    if (c == "load") doLoad(s, w);
    else if (c == "open") { s.needGauge(); openPanel(s.host, s.gauge); }
    else if (c == "close") { s.needGauge(); closePanel(s.host, s.gauge); }
    else if (c == "cycles") { needWords(w, 2, "cycles N"); for (int i = whole(w[1]); i > 0; --i) cycle(s); }
    else if (c == "run") { needWords(w, 2, "run SECONDS"); runFor(s, number(w[1])); }
    else if (c == "set") {
        needWords(w, 3, "set NAME VALUE");
        setNamedVariable(s.host, w[1], number(w[2]));
        noteEvent(s, w[1] + "=" + w[2]);
    } else if (c == "hostvar") { needWords(w, 3, "hostvar ID VALUE"); setHostVariable(s.host.variables, whole(w[1]), number(w[2])); }
    else if (c == "clock") { needWords(w, 2, "clock HH:MM[:SS]"); doClock(s, w[1]); }
    else if (c == "font") {
        if (w.size() != 3 && w.size() != 4) fail("usage: font NAME FAMILY [FILE]");
        s.fonts[w[1]] = FontChoice{w[2], w.size() == 4 ? w[3] : ""};
    } else if (c == "speed") { needWords(w, 2, "speed FACTOR"); s.host.variables.clock.speed = number(w[1]); }
    else if (c == "click" || c == "hold") {
        int x = 0, y = 0;
        const size_t used = clickPoint(s, w, 1, x, y);
        if (c == "click") {
            click(s, x, y, w.size() > 1 + used ? buttonFlags(w[1 + used]) : mouseLeftSingle);
        } else {
            if (w.size() != 2 + used) fail("usage: hold X Y CYCLES, or hold area N CYCLES");
            click(s, x, y, mouseLeftSingle);
            for (int i = whole(w[1 + used]); i > 0; --i) { cycle(s); click(s, x, y, mouseRepeatWhileHeld); }
        }
    } else if (c == "expect") doExpect(s, w);
    else if (c == "render") doRender(s, w);
    else if (c == "log") doLog(s, w);
    else if (c == "print") doPrint(s, w);
    else fail("unknown command '" + c + "'");
}

}  // namespace

ScenarioStatus runScenario(std::istream& script, const std::string& scriptName, std::ostream& out, std::ostream& err) {
    Scenario s(out);
    std::string line;
    for (int number = 1; std::getline(script, line); ++number) {
        try {
            const std::vector<std::string> words = splitWords(line);
            if (!words.empty()) runCommand(s, words);
            for (const std::string& problem : s.host.errors) unmet(problem);
        } catch (const ScriptError& error) {
            err << scriptName << ":" << number << ": " << error.message << '\n';
            return error.status;
        }
    }
    return scenarioPassed;
}
