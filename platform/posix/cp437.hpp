#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace corvane {

// Code page 437, the console's code page: every byte has a glyph, the control
// bytes included, because the console shows a cell's byte and never acts on it.

// The Unicode code point of the glyph the console shows for a byte. Byte 0
// shows as a blank.
char32_t Cp437CodePoint(std::uint8_t byte);

// Appends the glyph for a byte as UTF-8: one to three bytes, since every glyph
// of the code page lies below U+10000.
void AppendCp437Glyph(std::string& out, std::uint8_t byte);

// The byte of the upper half (128 to 255) whose glyph is `codePoint`; none for
// a character that the upper half does not hold. ASCII and the glyphs of the
// control bytes are not looked up: typed text never yields a control byte.
std::optional<std::uint8_t> Cp437UpperByte(char32_t codePoint);

}  // namespace corvane
