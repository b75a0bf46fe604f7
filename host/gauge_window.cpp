#include "gauge_window.h"

#include <windows.h>

#include <cstdio>
#include <map>
#include <vector>

#include "element_walk.h"
#include "gauge_renderer.h"

namespace {

constexpr UINT cycleTimer = 1;
constexpr UINT cycleMs = 1000 / 18;
constexpr int panelWidth = 300;
constexpr int lineHeight = 16;

// Host variables the keys change.
enum : int32_t { varPanelLights = 10, varFlightHold = 60, varOutsideAir = 341, varBusVolts = 753, varClockPower = 769 };

struct WindowState {
    GaugeHost host;
    LoadedGauge gauge;
    WindowOptions options;
    RenderedImage image;
    bool held = false;  // left button down on the gauge
    POINT heldAt = {};
    size_t selectedVariable = 1;
    std::map<const StringElement*, std::string> lastTexts;
};

WindowState* state = nullptr;

double value(int32_t id) { return hostVariable(state->host.variables, id); }
void setValue(int32_t id, double v) { setHostVariable(state->host.variables, id, v); }

void traceTexts() {
    int number = 0;
    forEachElement(state->gauge.gauge->elementList[0], [&](ElementHeader* e) {
        ++number;
        if (e->elementKind != elementString) return;
        const auto* text = reinterpret_cast<const StringElement*>(e);
        const std::string now = elementText(state->host, text);
        std::string& before = state->lastTexts[text];
        if (now == before) return;
        before = now;
        std::printf("cycle %llu text %d \"%s\"\n", static_cast<unsigned long long>(state->host.cycles), number, now.c_str());
        std::fflush(stdout);
    });
}

void cycle(HWND window) {
    if (state->held) {
        const MouseArea* area = mouseAreaAt(state->gauge, state->heldAt.x, state->heldAt.y, mouseRepeatWhileHeld);
        if (area) clickGauge(state->gauge, state->heldAt.x, state->heldAt.y, mouseRepeatWhileHeld);
    }
    runCycle(state->host, state->gauge);
    if (state->options.trace) traceTexts();
    RenderOptions options;
    options.scale = state->options.scale;
    options.night = value(varPanelLights) != 0.0;
    std::string error;
    renderGauge(state->host, state->gauge, options, state->image, error);
    InvalidateRect(window, nullptr, FALSE);
}

std::vector<std::string> panelLines() {
    const HostClock& clock = state->host.variables.clock;
    char line[160];
    std::vector<std::string> lines = {"keys:",
                                      "  P power  L panel lights  H flight-timer hold",
                                      "  V/B volts +/-  O/K outside air +/-",
                                      "  arrows: clock hours / minutes  S speed x2, R x1",
                                      "  N next variable, 0-3 set it, Esc close", ""};
    std::snprintf(line, sizeof line, "power %g  lights %g  hold %g", value(varClockPower), value(varPanelLights),
                  value(varFlightHold));
    lines.push_back(line);
    std::snprintf(line, sizeof line, "bus %.1f V  outside air %.0f C", value(varBusVolts), value(varOutsideAir));
    lines.push_back(line);
    std::snprintf(line, sizeof line, "clock %02d:%02d UT, local %+d h, speed x%g", int(value(6)), int(value(7)),
                  clock.localOffsetHours, clock.speed);
    lines.push_back(line);
    lines.push_back("");
    lines.push_back("named variables:");
    const NamedVariables& named = state->host.named;
    for (size_t id = 1; id < named.names.size() && lines.size() < 60; ++id) {
        std::snprintf(line, sizeof line, "%s %s = %g", id == state->selectedVariable ? ">" : " ", named.names[id].c_str(),
                      named.values[id]);
        lines.push_back(line);
    }
    return lines;
}

void paint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    const RenderedImage& image = state->image;
    if (!image.pixels.empty()) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = image.width;
        info.bmiHeader.biHeight = -image.height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        SetDIBitsToDevice(dc, 0, 0, DWORD(image.width), DWORD(image.height), 0, 0, 0, UINT(image.height),
                          image.pixels.data(), &info, DIB_RGB_COLORS);
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    int y = 8;
    for (const std::string& line : panelLines()) {
        TextOutA(dc, image.width + 12, y, line.c_str(), int(line.size()));
        y += lineHeight;
    }
    EndPaint(window, &paint);
}

POINT gaugePoint(LPARAM lParam) {
    const int scale = state->options.scale;
    return POINT{short(LOWORD(lParam)) / scale, short(HIWORD(lParam)) / scale};
}

void toggle(int32_t id, double on) { setValue(id, value(id) == 0.0 ? on : 0.0); }

void changeClock(int hours, int minutes) {
    HostClock& clock = state->host.variables.clock;
    setClockTime(clock, (int(value(6)) + hours + 24) % 24, (int(value(7)) + minutes + 60) % 60, 0);
}

void onKey(HWND window, WPARAM key) {
    const NamedVariables& named = state->host.named;
    switch (key) {
        case 'P': toggle(varClockPower, 1.0); break;
        case 'L': toggle(varPanelLights, 1.0); break;
        case 'H': toggle(varFlightHold, 1.0); break;
        case 'V': setValue(varBusVolts, value(varBusVolts) + 0.5); break;
        case 'B': setValue(varBusVolts, value(varBusVolts) - 0.5); break;
        case 'O': setValue(varOutsideAir, value(varOutsideAir) + 1); break;
        case 'K': setValue(varOutsideAir, value(varOutsideAir) - 1); break;
        case VK_UP: changeClock(1, 0); break;
        case VK_DOWN: changeClock(-1, 0); break;
        case VK_RIGHT: changeClock(0, 1); break;
        case VK_LEFT: changeClock(0, -1); break;
        case 'S': state->host.variables.clock.speed *= 2; break;
        case 'R': state->host.variables.clock.speed = 1; break;
        case 'N': state->selectedVariable = named.names.size() > 1 ? state->selectedVariable % (named.names.size() - 1) + 1 : 1; break;
        case VK_ESCAPE: PostMessageA(window, WM_CLOSE, 0, 0); break;
        default:
            if (key >= '0' && key <= '3' && state->selectedVariable < named.names.size())
                writeVariable(state->host.named, int32_t(state->selectedVariable), double(key - '0'));
            break;
    }
}

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER: cycle(window); return 0;
        case WM_PAINT: paint(window); return 0;
        case WM_LBUTTONDOWN: {
            const POINT p = gaugePoint(lParam);
            clickGauge(state->gauge, p.x, p.y, mouseLeftSingle);
            state->held = true;
            state->heldAt = p;
            SetCapture(window);
            return 0;
        }
        case WM_LBUTTONUP: state->held = false; ReleaseCapture(); return 0;
        case WM_RBUTTONDOWN: {
            const POINT p = gaugePoint(lParam);
            clickGauge(state->gauge, p.x, p.y, mouseRightSingle);
            return 0;
        }
        case WM_SETCURSOR: {
            POINT p;
            GetCursorPos(&p);
            ScreenToClient(window, &p);
            const int s = state->options.scale;
            const MouseArea* area = mouseAreaAt(state->gauge, p.x / s, p.y / s, mouseLeftSingle | mouseRightSingle);
            SetCursor(LoadCursorA(nullptr, area && area->cursor == cursorHand ? IDC_HAND : IDC_ARROW));
            return TRUE;
        }
        case WM_KEYDOWN: onKey(window, wParam); return 0;
        case WM_CLOSE: KillTimer(window, cycleTimer); DestroyWindow(window); return 0;
        case WM_DESTROY: PostQuitMessage(0); return 0;
        default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

int runGaugeWindow(const WindowOptions& options) {
    WindowState window;
    window.options = options;
    std::string error;
    if (!loadGauge(window.host, options.module, options.gauge, options.parameter, window.gauge, error)) {
        std::fprintf(stderr, "gaugehost: %s\n", error.c_str());
        return 2;
    }
    state = &window;
    setValue(varClockPower, 1.0);
    setValue(varBusVolts, 28.0);
    setValue(varOutsideAir, 15.0);
    openPanel(window.host, window.gauge);
    cycle(nullptr);

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "gaugehost window";
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    RegisterClassA(&windowClass);
    RECT size = {0, 0, window.image.width + panelWidth, std::max(window.image.height, 24 * lineHeight)};
    AdjustWindowRect(&size, WS_OVERLAPPEDWINDOW, FALSE);
    const std::string title = "gaugehost - " + std::string(window.gauge.gauge->gaugeName);
    HWND handle = CreateWindowExA(0, windowClass.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                  size.right - size.left, size.bottom - size.top, nullptr, nullptr,
                                  windowClass.hInstance, nullptr);
    if (!handle) {
        std::fprintf(stderr, "gaugehost: cannot open a window (is there a display?)\n");
        unloadGauge(window.host, window.gauge);
        state = nullptr;
        return 2;
    }
    SetTimer(handle, cycleTimer, cycleMs, nullptr);
    POINT origin = {0, 0};
    ClientToScreen(handle, &origin);
    std::printf("window open: gauge at %ld,%ld on the screen, %d screen pixels a gauge pixel\n", origin.x, origin.y,
                options.scale);
    std::fflush(stdout);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    unloadGauge(window.host, window.gauge);
    state = nullptr;
    for (const std::string& problem : window.host.errors) std::fprintf(stderr, "gaugehost: %s\n", problem.c_str());
    std::printf("window closed: services 15 and kill sent, module unloaded\n");
    return window.host.errors.empty() ? 0 : 1;
}
