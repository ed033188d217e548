#pragma once

#include <optional>

#include "common/byte_string.hpp"

namespace corvane {

// Whether the platform's file names may hold quote characters. Windows names
// cannot hold a double quote; POSIX names may hold any byte but the slash and
// zero.
enum class QuotesInNames { kNoDoubleQuotes, kAnyQuotes };

// A file dropped on a console window pastes its full path. A Windows console
// wraps a path that holds a blank in double quotes; a POSIX terminal wraps it
// in single quotes and adds a blank after it. These two rules say what a typed
// name then stands for; the screen always shows the name as typed.

// The file a typed name stands for. Where names cannot hold a double quote,
// one enclosing pair of double quotes, with any blanks after it, is no part of
// the name; elsewhere the name is taken as typed.
ByteString NameToOpen(ByteView typed, QuotesInNames quotes);

// Where names may hold quotes, a typed input name that leads to no file is
// tried once more as a pasted path: without its trailing blanks and one
// enclosing pair of single or double quotes. None where that reading is the
// name itself, or where names cannot hold quotes (NameToOpen has read the
// name as a pasted one already).
std::optional<ByteString> PastedPathReading(ByteView typed, QuotesInNames quotes);

}  // namespace corvane
