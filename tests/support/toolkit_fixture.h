// A fresh headless platform and toolkit for every test.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/headless_backend.h"
#include "platform/window.h"
#include "toolkit/state.h"

namespace test_support {

class ToolkitTest : public ::testing::Test {
protected:
    void SetUp() override {
        kavro::reset_toolkit_state();
        headless = &platform::install_headless_backend(platform::Size{1024, 768}, 1'000'000);
        headless->set_time_limit(600'000);
    }
    void TearDown() override {
        EXPECT_FALSE(headless->time_limit_reached()) << "a wait ran into the virtual time limit";
        kavro::reset_toolkit_state();
    }
    // KAVRO_open with the usual start parameters.
    void open_toolkit() {
        static int instance;
        KAVRO_open(&instance, nullptr, "", platform::SHOW_NORMAL);
    }
    // The canvas pixel under application point (x, y).
    platform::ColorWord canvas_at(int x, int y) const {
        return canvas().get(kavro::state.centre_x + x, kavro::state.centre_y - y);
    }
    const platform::Bitmap& canvas() const { return *platform::bitmap_of(kavro::state.canvas_bitmap); }
    // The texts of the message ring, oldest first.
    std::vector<std::string> messages() const {
        std::vector<std::string> texts;
        const kavro::MessageRing& ring = kavro::state.message_ring;
        int index = ring.oldest;
        int count = 0;
        while (index >= 0 && !(index == ring.next && count != 0)) {
            texts.emplace_back(ring.slots[index] ? ring.slots[index].get() : "");
            index = (index + 1) % kavro::MAX_MESSAGES;
            ++count;
        }
        return texts;
    }
    // Runs the pump until the queue is idle (no event is taken).
    void settle() {
        for (int i = 0; i < 50; ++i) kavro::pump_one_message();
    }

    platform::HeadlessBackend* headless = nullptr;
};

}  // namespace test_support
