// A fresh headless platform and toolkit for every test.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/backends/headless_backend.h"
#include "platform/core/input.h"
#include "platform/core/window.h"
#include "platform/ui/menu.h"
#include "platform/ui/platform_reset.h"
#include "support/test_support.h"
#include "toolkit/inspect.h"
#include "toolkit/kavro.h"

namespace test_support {

// What one KAVRO_await_event call handed back.
struct AwaitedEvent {
    int kind = 0;
    int x = 0;
    int y = 0;
    char key = 0;
};

// Equal pictures pass; otherwise the actual, expected and difference pictures
// are written to the output directory under the given name.
inline ::testing::AssertionResult same_picture(const platform::Bitmap& actual, const platform::Bitmap& expected,
                                               const std::string& name) {
    if (actual.width != expected.width || actual.height != expected.height)
        return ::testing::AssertionFailure() << name << ": size " << actual.width << "x" << actual.height
                                             << ", expected " << expected.width << "x" << expected.height;
    platform::Bitmap difference(actual.width, actual.height, 0xFFFFFF);
    int differing = 0;
    for (std::size_t i = 0; i < actual.pixels.size(); ++i) {
        if (actual.pixels[i] == expected.pixels[i]) continue;
        difference.pixels[i] = 0xFF0000;
        ++differing;
    }
    if (differing == 0) return ::testing::AssertionSuccess();
    save_picture(actual, name + "-actual.png");
    save_picture(expected, name + "-expected.png");
    save_picture(difference, name + "-difference.png");
    return ::testing::AssertionFailure() << name << ": " << differing << " pixels differ (pictures in " << output_dir()
                                         << ")";
}

class ToolkitTest : public ::testing::Test {
protected:
    void SetUp() override {
        kavro::reset_toolkit_state();
        platform::reset_platform();
        headless = &platform::install_headless_backend(platform::Size{1024, 768}, 1'000'000);
        headless->set_time_limit(600'000);
    }
    void TearDown() override {
        EXPECT_FALSE(headless->time_limit_reached()) << "a wait ran into the virtual time limit";
        kavro::reset_toolkit_state();
        if (!home_directory_.empty()) {
            std::error_code ignored;
            std::filesystem::current_path(home_directory_, ignored);
            std::filesystem::remove_all(scratch_directory_, ignored);
        }
    }
    // KAVRO_open with the usual start parameters.
    void open_toolkit() {
        static int instance;
        KAVRO_open(&instance, nullptr, "", platform::SHOW_NORMAL);
    }
    // The canvas pixel under application point (x, y).
    platform::ColorWord canvas_at(int x, int y) const {
        platform::Point origin = kavro::canvas_origin();
        return canvas().get(origin.x + x, origin.y - y);
    }
    const platform::Bitmap& canvas() const { return kavro::canvas_bitmap(); }
    // The texts of the message ring, oldest first.
    std::vector<std::string> messages() const { return kavro::message_lines(); }
    // Runs the pump until the queue is idle (no event is taken).
    void settle() {
        for (int i = 0; i < 50; ++i) kavro::pump_one_message();
    }
    AwaitedEvent await_event() {
        AwaitedEvent event;
        event.kind = KAVRO_await_event(&event.x, &event.y, &event.key);
        return event;
    }
    // Ctrl and a key as a person types them, from at_ms on: each key a moment
    // after the previous one, so the pump has taken every message in between.
    void schedule_ctrl_key(std::int64_t at_ms, int virtual_key) {
        headless->schedule(at_ms, [] { platform::inject_key_down(platform::KEY_CONTROL); });
        headless->schedule(at_ms + 1, [virtual_key] { platform::inject_key_down(virtual_key); });
        headless->schedule(at_ms + 2, [virtual_key] { platform::inject_key_up(virtual_key); });
        headless->schedule(at_ms + 3, [] { platform::inject_key_up(platform::KEY_CONTROL); });
    }
    // Whether the Run menu entry with this identifier carries its check mark.
    bool menu_checked(unsigned identifier) const {
        platform::MenuEntry entry;
        return platform::find_menu_entry(kavro::run_menu(), identifier, entry) &&
               (entry.flags & platform::MENU_CHECKED) != 0;
    }
    // The rest of the test runs in a fresh empty directory, removed at the end
    // (the script file lives in the current directory).
    void enter_scratch_directory() {
        home_directory_ = std::filesystem::current_path();
        scratch_directory_ =
            std::filesystem::temp_directory_path() / ("kavro-test-" + std::to_string(::getpid()) + "-" +
                                                      ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(scratch_directory_);
        std::filesystem::create_directories(scratch_directory_);
        std::filesystem::current_path(scratch_directory_);
    }

    platform::HeadlessBackend* headless = nullptr;

private:
    std::filesystem::path home_directory_;
    std::filesystem::path scratch_directory_;
};

}  // namespace test_support
