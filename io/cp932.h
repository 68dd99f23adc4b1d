#pragma once
// CP932 (Windows Shift-JIS) at the file boundary. Plan files and the rate master are CP932 on
// disk; everything inside the program is UTF-8 (std::string) or QString.
//
// CP932 bytes: 0x00..0x7F are ASCII, 0xA1..0xDF half-width katakana (U+FF61..U+FF9F), and a
// lead byte 0x81..0x9F or 0xE0..0xFC followed by a trail byte 0x40..0x7E or 0x80..0xFC forms a
// double-byte character. No trail byte is below 0x40, so a line feed or a comma is never part
// of a double-byte character, but a backslash (0x5C) can be.
//
// The double-byte mapping is the system's "windows-31j" converter (U+FF5E <-> 0x8160 and so on);
// ASCII and half-width katakana are mapped here directly, because that converter swaps a few
// control characters (0x1A, 0x1C, 0x7F) as IBM code pages do.

#include <QString>
#include <string>
#include <string_view>

namespace zorvik {

// UTF-8 text to CP932 bytes. A character CP932 cannot hold (an emoji, a rare kanji, U+2212)
// and every invalid UTF-8 sequence become "?". Never fails.
std::string Utf8ToCp932(std::string_view utf8);

// CP932 bytes to UTF-8. A byte that does not start a CP932 character, a lead byte without its
// trail byte, and a double-byte pair that maps to nothing read as U+FFFD. Never fails.
std::string Cp932ToUtf8(std::string_view bytes);

// True when every character of the text has a CP932 form (the form refuses other characters
// as they are typed or pasted). Invalid UTF-8 is not encodable.
bool Cp932CanEncode(std::string_view utf8);
bool Cp932CanEncode(const QString& text);
// The text with every character that CP932 cannot hold removed.
QString KeepCp932Encodable(const QString& text);

// The text with the characters that input methods on Unix-like systems deliver for keys whose
// CP932 form is a different code point replaced by that code point: 〜 U+301C -> ～ U+FF5E,
// − U+2212 -> － U+FF0D, ‖ U+2016 -> ∥ U+2225, — U+2014 -> ― U+2015, ¢ U+00A2 -> ￠ U+FFE0,
// £ U+00A3 -> ￡ U+FFE1, ¬ U+00AC -> ￢ U+FFE2. Same length; every other character is kept.
QString ToCp932Equivalents(const QString& text);

inline constexpr bool IsCp932LeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
inline constexpr bool IsCp932TrailByte(unsigned char b) {
  return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// How a text file read by the program is encoded.
enum class TextEncoding {
  Cp932,  // the usual case
  Utf8,   // a file that starts with the UTF-8 byte-order mark EF BB BF
};

// Looks at the start of a file's bytes: a UTF-8 byte-order mark is removed from `bytes` and
// gives Utf8; anything else is CP932.
TextEncoding TakeByteOrderMark(std::string_view& bytes);

// Bytes of the given encoding to UTF-8; invalid sequences read as U+FFFD.
std::string DecodeToUtf8(std::string_view bytes, TextEncoding encoding);

// Position of the first single-byte character `ch` at or after `from`, skipping the bytes of
// multi-byte characters (a CP932 trail byte is never taken for `ch`); npos when there is none.
size_t FindSingleByteChar(std::string_view bytes, char ch, TextEncoding encoding, size_t from = 0);

// Length of the longest prefix of `bytes` that holds at most `maxBytes` bytes and does not end
// in the middle of a character.
size_t CharBoundaryPrefix(std::string_view bytes, size_t maxBytes, TextEncoding encoding);

}  // namespace zorvik
