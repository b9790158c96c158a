// Reading '&' mnemonics and '\t' labels out of menu and control texts.
#include "platform/ui/mnemonic.h"

namespace platform {
namespace {

int lower(int c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; }

}  // namespace

MnemonicText split_mnemonic_text(const std::string& text) {
    MnemonicText result;
    std::string* into = &result.shown;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\t' && into == &result.shown) {
            into = &result.label;
        } else if (c == '&' && i + 1 < text.size() && text[i + 1] == '&') {
            into->push_back('&');
            ++i;
        } else if (c == '&' && into == &result.shown && i + 1 < text.size()) {
            if (result.mnemonic < 0 && text[i + 1] != '\t') result.mnemonic = static_cast<int>(result.shown.size());
        } else if (c != '&') {
            into->push_back(c);
        }
    }
    return result;
}

char mnemonic_key(const std::string& text) {
    MnemonicText split = split_mnemonic_text(text);
    if (split.mnemonic < 0) return 0;
    return static_cast<char>(lower(static_cast<unsigned char>(split.shown[static_cast<std::size_t>(split.mnemonic)])));
}

bool matches_mnemonic(const std::string& text, int character) {
    char key = mnemonic_key(text);
    return key != 0 && lower(character) == key;
}

}  // namespace platform
