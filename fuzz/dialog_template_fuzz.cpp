// The dialog template reader on any bytes: a template it accepts must account
// for no more bytes than it was given and hold exactly the items it declares.
#include <cstdint>
#include <cstdlib>

#include "platform/ui/dialog.h"

namespace {

// The fewest bytes a text of this many characters takes: 16-bit units and a terminator.
std::size_t text_bytes(const std::string& text) { return 2 * (text.size() + 1); }

// The fewest bytes the parsed template can have come from; alignment padding only adds.
std::size_t least_size(const platform::DialogTemplate& parsed) {
    std::size_t bytes = 18 + 2 + 2 + text_bytes(parsed.title);
    if (parsed.style & platform::DIALOG_SET_FONT) bytes += 2 + text_bytes(parsed.font_face);
    for (const platform::DialogItemTemplate& item : parsed.items) {
        bytes += 18;
        bytes += item.class_atom ? 4 : text_bytes(item.class_name);
        bytes += item.text_ordinal >= 0 ? 4 : text_bytes(item.text);
        bytes += 2 + item.creation_data.size();
    }
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    platform::DialogTemplate parsed;
    if (!platform::parse_dialog_template(data, size, parsed)) return 0;
    std::size_t declared_items = data[8] | (data[9] << 8);
    if (parsed.items.size() != declared_items || least_size(parsed) > size) std::abort();
    return 0;
}
