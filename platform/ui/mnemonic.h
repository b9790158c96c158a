// Texts of menu entries and controls: an '&' marks the next character as the
// mnemonic ("&&" is a plain '&'), a '\t' starts a right-aligned label. This is
// the one reading of such a text, for drawing it and for the key choosing it.
#pragma once

#include <string>

namespace platform {

struct MnemonicText {
    std::string shown;
    int mnemonic = -1;  // index into shown, or -1
    std::string label;
};
MnemonicText split_mnemonic_text(const std::string& text);

// The mnemonic character in lower case; 0 when the text has none.
char mnemonic_key(const std::string& text);

// Whether a typed character chooses the text's mnemonic (letters in either case).
bool matches_mnemonic(const std::string& text, int character);

}  // namespace platform
