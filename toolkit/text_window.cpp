// The text window: a scrolling console over the ring of the last 25 messages.
#include <cstdio>
#include <cstring>

#include "platform/core/message_queue.h"
#include "platform/core/window.h"
#include "platform/drawing/drawing_context.h"
#include "platform/ui/default_procedure.h"
#include "toolkit/misuse.h"
#include "toolkit/state.h"

namespace kavro {
namespace {

constexpr int TEXT_LEFT_MARGIN = 5;
constexpr std::size_t FORMAT_BUFFER_SIZE = 1024;

void store_message(const char* text, std::size_t length) {
    MessageRing& ring = state.message_ring;
    if (ring.oldest == ring.next) {
        ring.slots[ring.oldest].reset();
        ring.oldest = (ring.oldest + 1) % MAX_MESSAGES;
    }
    auto copy = std::make_unique<char[]>(length + 1);
    std::memcpy(copy.get(), text, length);
    copy[length] = 0;
    ring.slots[ring.next] = std::move(copy);
    if (ring.oldest < 0) ring.oldest = ring.next;
    ring.next = (ring.next + 1) % MAX_MESSAGES;
}

}  // namespace

// Formats into a fixed buffer; a longer result is cut, and the count is what
// the buffer holds, so callers never see more than they got.
int format_message(char* buffer, std::size_t size, const char* format, std::va_list arguments) {
    int produced = std::vsnprintf(buffer, size, format ? format : "", arguments);
    if (produced < 0) {
        buffer[0] = 0;
        return 0;
    }
    if (static_cast<std::size_t>(produced) >= size) produced = static_cast<int>(size - 1);
    return produced;
}

namespace {

// Blanks the band of the given height at the bottom of the client area.
void clear_bottom_band(platform::DrawingContext context, const platform::Rect& client, int height) {
    platform::ScopedSelection selection(context);
    selection.select_owned(platform::create_solid_brush(platform::get_background_color(context)));
    selection.select(platform::stock_object(platform::StockObject::NULL_PEN));
    platform::rectangle(context, client.left, client.bottom - height, client.right, client.bottom + 1);
}

// Moves the text up one line of the fixed font and writes the message on the
// line that frees at the bottom.
void scroll_in_line(platform::Window window, platform::DrawingContext context, const char* message) {
    platform::ScopedSelection selection(context);
    selection.select(platform::stock_object(platform::StockObject::FIXED_FONT));
    platform::TextMetrics metrics{};
    platform::get_text_metrics(context, metrics);
    int h = metrics.height + metrics.external_leading;
    platform::scroll_dc(context, 0, -h);
    platform::Rect client;
    platform::get_client_rect(window, client);
    clear_bottom_band(context, client, h);
    std::size_t length = std::strlen(message);
    if (length > 0 && message[length - 1] == '\n') --length;
    platform::text_out(context, client.left + TEXT_LEFT_MARGIN, client.bottom - h, message, static_cast<int>(length));
}

}  // namespace

void put_text_line(const char* message) {
    platform::Window window = state.text_window;
    platform::DrawingContext context = platform::get_window_dc(window);
    if (context == platform::DrawingContext::NONE) return;
    scroll_in_line(window, context, message);
    platform::release_dc(window, context);
}

std::intptr_t text_window_proc(platform::Window window, unsigned message, std::uintptr_t word, std::intptr_t position) {
    switch (message) {
    case platform::MSG_PAINT: {
        platform::PaintInfo paint;
        platform::begin_paint(window, paint);
        state.message_ring.for_each(put_text_line);
        platform::end_paint(window, paint);
        return 0;
    }
    case platform::MSG_KEY_DOWN:
    case platform::MSG_KEY_UP: platform::post_message(state.graphics_window, message, word, position); return 0;
    default: return platform::default_window_proc(window, message, word, position);
    }
}

}  // namespace kavro

using namespace kavro;

extern "C" int KAVRO_printf(const char* format, ...) {
    char buffer[FORMAT_BUFFER_SIZE];
    std::va_list arguments;
    va_start(arguments, format);
    int count = format_message(buffer, sizeof buffer, format, arguments);
    va_end(arguments);
    store_message(buffer, static_cast<std::size_t>(count));
    if (!state.opened) {
        report_misuse("KAVRO_printf",
                      "was called before KAVRO_open; its text is kept and shows in the text window "
                      "once KAVRO_open has run");
        return count;
    }
    put_text_line(buffer);
    return count;
}
