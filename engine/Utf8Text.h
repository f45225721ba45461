#pragma once
// UTF-8 as the program's own texts hold it: the shortest form of each
// character, no surrogates, nothing beyond U+10FFFF. Outside texts (a case
// file's names) are checked with this before they are taken, and text
// written where UTF-8 is required (JSON) is made valid with it.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Length of the valid UTF-8 character starting at s[i] (1 to 4), or 0 when
// no valid character starts there.
std::size_t Utf8CharLength(std::string_view s, std::size_t i);

// Offset of the first byte that starts no valid character; nullopt for valid text.
std::optional<std::size_t> FirstInvalidUtf8(std::string_view s);

// The text with every byte that starts no valid character replaced by
// U+FFFD; valid text comes back unchanged.
std::string ValidUtf8(std::string_view s);
