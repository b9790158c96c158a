// The SDL2 screen backend. It implements the Backend interface on SDL: native
// windows with the window manager's decorations reported back through
// inject_host_frame, pictures copied to the window surfaces (each pixel a
// square of the display scale on a dense screen), native events turned into
// injection calls with mouse positions divided back, and waiting inside SDL
// until the next timer deadline. It does not draw: menus, frames and dialogs
// arrive already composed in the picture. Characters come from the
// platform's translate step, never from SDL's text input, and nothing goes
// through a renderer or OpenGL.
#include "platform/backends/sdl_backend.h"

#include <SDL.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "platform/base/messages.h"
#include "platform/core/input.h"
#include "platform/core/window.h"
#include "platform/drawing/display_scale.h"

namespace platform {
namespace {

struct NativeWindow {
    Window window = Window::NONE;
    SDL_Window* native = nullptr;
    std::uint32_t id = 0;
    bool resizable = false;
    Point placed;       // the position last asked of the window system
    Insets host_frame;  // the decorations last reported to the platform
};

// Titles are cp1252 bytes; SDL wants UTF-8. The Latin-1 range converts
// directly, cp1252's own symbols in 0x80-0x9F become '?'.
std::string utf8_title(const char* title) {
    std::string result;
    for (const char* p = title; p && *p; ++p) {
        auto code = static_cast<unsigned char>(*p);
        if (code < 0x80) {
            result.push_back(static_cast<char>(code));
        } else if (code < 0xA0) {
            result.push_back('?');
        } else {
            result.push_back(static_cast<char>(0xC0 | (code >> 6)));
            result.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        }
    }
    return result;
}

int key_from_scancode(int scancode) {
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) return 'A' + (scancode - SDL_SCANCODE_A);
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) return '1' + (scancode - SDL_SCANCODE_1);
    switch (scancode) {
    case SDL_SCANCODE_0: return '0';
    case SDL_SCANCODE_SEMICOLON: return KEY_SEMICOLON;
    case SDL_SCANCODE_EQUALS: return KEY_EQUALS;
    case SDL_SCANCODE_COMMA: return KEY_COMMA;
    case SDL_SCANCODE_MINUS: return KEY_MINUS;
    case SDL_SCANCODE_PERIOD: return KEY_PERIOD;
    case SDL_SCANCODE_SLASH: return KEY_SLASH;
    case SDL_SCANCODE_GRAVE: return KEY_BACKQUOTE;
    case SDL_SCANCODE_LEFTBRACKET: return KEY_LEFT_BRACKET;
    case SDL_SCANCODE_BACKSLASH: return KEY_BACKSLASH;
    case SDL_SCANCODE_RIGHTBRACKET: return KEY_RIGHT_BRACKET;
    case SDL_SCANCODE_APOSTROPHE: return KEY_QUOTE;
    default: return 0;
    }
}

class SdlBackend : public Backend {
public:
    explicit SdlBackend(int scale) : scale_(scale) {}
    ~SdlBackend() override {
        for (NativeWindow& window : windows_) SDL_DestroyWindow(window.native);
        windows_.clear();
        // Only the process's end follows, and it closes the display connections
        // without reading what is left on them: SDL 2.26's shut-down reads a
        // failed wake-up request (sent to a window destroyed meanwhile) from
        // its second connection, and Xlib ends the program with 1 for it.
    }

    void create_native_window(Window window, const char* title, const Rect& outer, bool resizable) override {
        Uint32 flags = SDL_WINDOW_HIDDEN;
        if (resizable) flags |= SDL_WINDOW_RESIZABLE;
        SDL_Window* native =
            SDL_CreateWindow(utf8_title(title).c_str(), outer.left * scale_, outer.top * scale_,
                             std::max(outer.width(), 1) * scale_, std::max(outer.height(), 1) * scale_, flags);
        if (!native) {
            std::fprintf(stderr, "%s: cannot create a window: %s\n", program_invocation_short_name, SDL_GetError());
            return;
        }
        windows_.push_back(
            NativeWindow{window, native, SDL_GetWindowID(native), resizable, Point{outer.left, outer.top}, Insets{}});
    }

    void show_native_window(Window window, bool visible) override {
        NativeWindow* native = find(window);
        if (!native) return;
        if (visible) {
            SDL_ShowWindow(native->native);
            report_host_frame(*native);
        } else {
            SDL_HideWindow(native->native);
        }
    }

    void activate_native_window(Window window) override {
        NativeWindow* native = find(window);
        if (!native || (SDL_GetWindowFlags(native->native) & SDL_WINDOW_HIDDEN)) return;
        // Without a window manager nobody else hands out the keyboard focus;
        // this also raises the window.
        SDL_SetWindowInputFocus(native->native);
    }

    void move_native_window(Window window, const Rect& outer) override {
        NativeWindow* native = find(window);
        if (!native) return;
        int width = 0;
        int height = 0;
        SDL_GetWindowSize(native->native, &width, &height);
        if (width != outer.width() * scale_ || height != outer.height() * scale_)
            SDL_SetWindowSize(native->native, std::max(outer.width(), 1) * scale_,
                              std::max(outer.height(), 1) * scale_);
        // Only a new position is asked for: the user may have moved the window since.
        if (outer.left != native->placed.x || outer.top != native->placed.y) {
            SDL_SetWindowPosition(native->native, outer.left * scale_, outer.top * scale_);
            native->placed = Point{outer.left, outer.top};
        }
    }

    void destroy_native_window(Window window) override {
        auto it = std::find_if(windows_.begin(), windows_.end(),
                               [window](const NativeWindow& native) { return native.window == window; });
        if (it == windows_.end()) return;
        SDL_DestroyWindow(it->native);
        windows_.erase(it);
    }

    void present(Window window, const Bitmap& surface) override {
        NativeWindow* native = find(window);
        if (!native || surface.width <= 0 || surface.height <= 0) return;
        SDL_Surface* screen = SDL_GetWindowSurface(native->native);
        if (!screen) return;
        const Bitmap& picture = surface;
        // Pixels are 0x00RRGGBB, SDL's RGB888; the blit is a plain copy when the screen matches.
        SDL_Surface* source =
            SDL_CreateRGBSurfaceWithFormatFrom(const_cast<Pixel*>(picture.pixels.data()), picture.width, picture.height,
                                               32, picture.width * 4, SDL_PIXELFORMAT_RGB888);
        if (!source) return;
        if (screen->w != picture.width * scale_ || screen->h != picture.height * scale_)
            SDL_FillRect(screen, nullptr, SDL_MapRGB(screen->format, 255, 255, 255));
        if (scale_ == 1) {
            SDL_BlitSurface(source, nullptr, screen, nullptr);
        } else {
            // Each pixel becomes a square of scale x scale, nothing blended.
            SDL_Rect whole{0, 0, picture.width * scale_, picture.height * scale_};
            SDL_BlitScaled(source, nullptr, screen, &whole);
        }
        SDL_FreeSurface(source);
        SDL_UpdateWindowSurface(native->native);
    }

    void poll_input() override {
        SDL_Event event;
        while (SDL_PollEvent(&event)) translate(event);
    }

    void wait_for_input(std::int64_t deadline_ms) override {
        SDL_Event event;
        int got = 0;
        if (deadline_ms < 0) {
            got = SDL_WaitEvent(&event);
        } else {
            std::int64_t left = deadline_ms - monotonic_ms();
            if (left <= 0) return;
            got = SDL_WaitEventTimeout(&event, static_cast<int>(std::min<std::int64_t>(left, INT_MAX)));
        }
        if (!got) return;
        translate(event);
        poll_input();
    }

    Size screen_size() override {
        SDL_DisplayMode mode;
        if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return Size{1024, 768};
        return Size{mode.w / scale_, mode.h / scale_};
    }

    std::int64_t monotonic_ms() override { return static_cast<std::int64_t>(SDL_GetTicks64()); }
    std::int64_t calendar_seconds() override { return static_cast<std::int64_t>(std::time(nullptr)); }

    std::uint32_t id_of(Window window) {
        NativeWindow* native = find(window);
        return native ? native->id : 0;
    }

private:
    NativeWindow* find(Window window) {
        for (NativeWindow& native : windows_)
            if (native.window == window) return &native;
        return nullptr;
    }

    NativeWindow* find_by_id(std::uint32_t id) {
        for (NativeWindow& native : windows_)
            if (native.id == id) return &native;
        return nullptr;
    }

    void translate(const SDL_Event& event) {
        switch (event.type) {
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            NativeWindow* native = find_by_id(event.button.windowID);
            MouseButton button = MouseButton::LEFT;
            if (event.button.button == SDL_BUTTON_MIDDLE)
                button = MouseButton::MIDDLE;
            else if (event.button.button == SDL_BUTTON_RIGHT)
                button = MouseButton::RIGHT;
            else if (event.button.button != SDL_BUTTON_LEFT)
                break;
            if (!native) break;
            if (event.type == SDL_MOUSEBUTTONDOWN)
                inject_mouse_down(native->window, unscaled(event.button.x), unscaled(event.button.y), button);
            else
                inject_mouse_up(native->window, unscaled(event.button.x), unscaled(event.button.y), button);
            break;
        }
        case SDL_MOUSEWHEEL:
            if (NativeWindow* native = find_by_id(event.wheel.windowID)) {
                int x = 0;
                int y = 0;
                SDL_GetMouseState(&x, &y);
                int steps = event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y;
                inject_mouse_wheel(native->window, unscaled(x), unscaled(y), steps);
            }
            break;
        case SDL_MOUSEMOTION:
            if (NativeWindow* native = find_by_id(event.motion.windowID))
                inject_mouse_move(native->window, unscaled(event.motion.x), unscaled(event.motion.y));
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            int key = virtual_key_from_sdl(event.key.keysym.sym, event.key.keysym.scancode);
            if (key == 0) break;
            if (event.type == SDL_KEYDOWN)
                inject_key_down(key);
            else
                inject_key_up(key);
            break;
        }
        case SDL_WINDOWEVENT: translate_window_event(event.window); break;
        default: break;
        }
    }

    // The window manager tells its decorations some time after mapping; any
    // window event may be the first to see them.
    void report_host_frame(NativeWindow& native) {
        Insets frame;
        if (SDL_GetWindowBordersSize(native.native, &frame.top, &frame.left, &frame.bottom, &frame.right) != 0)
            frame = Insets{};
        if (frame.left == native.host_frame.left && frame.top == native.host_frame.top &&
            frame.right == native.host_frame.right && frame.bottom == native.host_frame.bottom)
            return;
        native.host_frame = frame;
        // Decorations are the window manager's pixels: rounded up, so ours still fit inside them.
        auto up = [this](int pixels) { return (pixels + scale_ - 1) / scale_; };
        inject_host_frame(native.window, up(frame.left), up(frame.top), up(frame.right), up(frame.bottom));
    }

    void translate_window_event(const SDL_WindowEvent& event) {
        NativeWindow* native = find_by_id(event.windowID);
        if (!native) return;
        Window window = native->window;
        report_host_frame(*native);
        // The report may have moved and resized the native window.
        native = find_by_id(event.windowID);
        if (!native) return;
        switch (event.event) {
        case SDL_WINDOWEVENT_CLOSE: inject_close(window); break;
        case SDL_WINDOWEVENT_FOCUS_GAINED: inject_focus(window); break;
        case SDL_WINDOWEVENT_EXPOSED: inject_expose(window); break;
        case SDL_WINDOWEVENT_MOVED:
            // Where the user put it: dialogs open relative to the real place.
            native->placed = Point{unscaled(event.data1), unscaled(event.data2)};
            inject_move(window, native->placed.x, native->placed.y);
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            if (native->resizable) inject_resize(window, unscaled(event.data1), unscaled(event.data2));
            // The native surface is new at any size change, so it needs the pixels again.
            inject_expose(window);
            break;
        default: break;
        }
    }

    // Screen pixels to ours.
    int unscaled(int pixels) const { return pixels >= 0 ? pixels / scale_ : -((-pixels + scale_ - 1) / scale_); }

    int scale_;
    std::vector<NativeWindow> windows_;
};

}  // namespace

int virtual_key_from_sdl(std::int32_t keycode, int scancode) {
    if (keycode >= 'a' && keycode <= 'z') return keycode - 'a' + 'A';
    if (keycode >= '0' && keycode <= '9') return keycode;
    switch (keycode) {
    case SDLK_SPACE: return KEY_SPACE;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return KEY_ENTER;
    case SDLK_ESCAPE: return KEY_ESCAPE;
    case SDLK_BACKSPACE: return KEY_BACKSPACE;
    case SDLK_TAB: return KEY_TAB;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return KEY_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return KEY_CONTROL;
    case SDLK_LALT:
    case SDLK_RALT: return KEY_ALT;
    case SDLK_CAPSLOCK: return KEY_CAPS_LOCK;
    case SDLK_LEFT: return KEY_LEFT;
    case SDLK_UP: return KEY_UP;
    case SDLK_RIGHT: return KEY_RIGHT;
    case SDLK_DOWN: return KEY_DOWN;
    case SDLK_HOME: return KEY_HOME;
    case SDLK_END: return KEY_END;
    case SDLK_PAGEUP: return KEY_PAGE_UP;
    case SDLK_PAGEDOWN: return KEY_PAGE_DOWN;
    case SDLK_INSERT: return KEY_INSERT;
    case SDLK_DELETE: return KEY_DELETE;
    case SDLK_SEMICOLON: return KEY_SEMICOLON;
    case SDLK_EQUALS: return KEY_EQUALS;
    case SDLK_COMMA: return KEY_COMMA;
    case SDLK_MINUS:
    case SDLK_KP_MINUS: return KEY_MINUS;
    case SDLK_PERIOD:
    case SDLK_KP_PERIOD: return KEY_PERIOD;
    case SDLK_SLASH:
    case SDLK_KP_DIVIDE: return KEY_SLASH;
    case SDLK_BACKQUOTE: return KEY_BACKQUOTE;
    case SDLK_LEFTBRACKET: return KEY_LEFT_BRACKET;
    case SDLK_BACKSLASH: return KEY_BACKSLASH;
    case SDLK_RIGHTBRACKET: return KEY_RIGHT_BRACKET;
    case SDLK_QUOTE: return KEY_QUOTE;
    case SDLK_KP_0: return '0';
    default: break;
    }
    if (keycode >= SDLK_KP_1 && keycode <= SDLK_KP_9) return '1' + (keycode - SDLK_KP_1);
    if (keycode >= SDLK_F1 && keycode <= SDLK_F12) return KEY_F1 + (keycode - SDLK_F1);
    // A key whose keycode is a character outside ASCII (another layout's
    // letter) is known by its place on the keyboard, so Ctrl+Q still quits.
    if (keycode >= 0x80 && !(keycode & SDLK_SCANCODE_MASK)) return key_from_scancode(scancode);
    return 0;
}

std::unique_ptr<Backend> create_sdl_backend() {
    // Ctrl+C and kill end the program as usual instead of becoming SDL events.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "%s: cannot open the display: %s\n", program_invocation_short_name, SDL_GetError());
        SDL_Quit();
        return nullptr;
    }
    // The window surface without a texture in between copies frames fastest;
    // Wayland has no such surface in SDL2 and keeps SDL's default path.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || std::strcmp(driver, "wayland") != 0) SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_StopTextInput();
    float dpi = 0;
    if (SDL_GetDisplayDPI(0, &dpi, nullptr, nullptr) != 0) dpi = 0;
    SDL_DisplayMode mode;
    Size screen = SDL_GetDesktopDisplayMode(0, &mode) == 0 ? Size{mode.w, mode.h} : Size{1024, 768};
    return std::make_unique<SdlBackend>(
        choose_display_scale(std::getenv("KAVRO_SCALE"), dpi, screen, SCALED_WINDOW_ROOM));
}

std::uint32_t native_window_id(Window window) {
    if (!has_backend()) return 0;
    auto* sdl = dynamic_cast<SdlBackend*>(&backend());
    return sdl ? sdl->id_of(window) : 0;
}

std::unique_ptr<Backend> create_screen_backend() {
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if ((!x11 || !*x11) && (!wayland || !*wayland)) {
        std::fprintf(stderr,
                     "%s: no display found (DISPLAY and WAYLAND_DISPLAY are unset); run it on a desktop or under "
                     "Xvfb\n",
                     program_invocation_short_name);
        return nullptr;
    }
    // Only the display systems the environment names: where they fail SDL
    // would otherwise fall back to one that shows nothing, and the program
    // would run unseen.
    if (!std::getenv("SDL_VIDEODRIVER")) {
        std::string drivers;
        if (x11 && *x11) drivers = "x11";
        if (wayland && *wayland) drivers += drivers.empty() ? "wayland" : ",wayland";
        SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers.c_str());
    }
    return create_sdl_backend();
}

}  // namespace platform
