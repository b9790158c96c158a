// Writes dialog templates in the layout parse_dialog_template reads: for the
// programs that build one in memory and for the tests that build bad ones.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Little-endian fields one after another; texts become one 16-bit unit per byte.
struct DialogTemplateWriter {
    std::vector<std::uint8_t> bytes;

    void word(unsigned value);
    void dword(std::uint32_t value);
    void text(const char* text, std::size_t length);
    void text(const std::string& text) { this->text(text.data(), text.size()); }
    // The header of a dialog without a menu or a class of its own.
    void header(unsigned style, int item_count, int x, int y, int width, int height, const std::string& title);
    // An item's fields up to its class, aligned to four bytes as items are.
    void item_fields(unsigned style, int x, int y, int width, int height, int id);
    // A whole item of a predefined class (by atom) without creation data.
    void item(unsigned style, int x, int y, int width, int height, int id, int class_atom, const char* title,
              std::size_t length);
    void item(unsigned style, int x, int y, int width, int height, int id, int class_atom, const std::string& title) {
        item(style, x, y, width, height, id, class_atom, title.data(), title.size());
    }
};

}  // namespace platform
