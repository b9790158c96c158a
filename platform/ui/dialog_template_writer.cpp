// The field-by-field writer of dialog templates.
#include "platform/ui/dialog_template_writer.h"

namespace platform {

void DialogTemplateWriter::word(unsigned value) {
    bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void DialogTemplateWriter::dword(std::uint32_t value) {
    word(value & 0xFFFF);
    word(value >> 16);
}

void DialogTemplateWriter::text(const char* text, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i) word(static_cast<unsigned char>(text[i]));
    word(0);
}

void DialogTemplateWriter::header(unsigned style, int item_count, int x, int y, int width, int height,
                                  const std::string& title) {
    dword(style);
    dword(0);
    word(static_cast<unsigned>(item_count));
    for (int v : {x, y, width, height}) word(static_cast<unsigned>(v));
    word(0);  // no menu
    word(0);  // the default dialog class
    text(title);
}

void DialogTemplateWriter::item_fields(unsigned style, int x, int y, int width, int height, int id) {
    while (bytes.size() % 4) bytes.push_back(0);
    dword(style);
    dword(0);
    for (int v : {x, y, width, height, id}) word(static_cast<unsigned>(v));
}

void DialogTemplateWriter::item(unsigned style, int x, int y, int width, int height, int id, int class_atom,
                                const char* title, std::size_t length) {
    item_fields(style, x, y, width, height, id);
    word(0xFFFF);
    word(static_cast<unsigned>(class_atom));
    text(title, length);
    word(0);  // no creation data
}

}  // namespace platform
