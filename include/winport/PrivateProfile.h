// The private-profile ini functions, on one reader/writer of GBK ini text (code page 936).
//
// Names and texts are wide (UTF-32 wchar_t on Linux); sizes count characters. Reading follows
// the platform functions: section and key names match without regard to case and with blanks
// around them ignored, values are trimmed and lose one pair of enclosing quotes (" or '), a value
// is cut to size - 1 characters and always terminated. A missing file reads as empty.
//
// Writing keeps every other line of the file byte for byte (comments, unknown keys, bytes that
// are not valid GBK), replaces a key's line in place or adds it at the end of its section (or a
// new section at the end of the file), and saves through a temporary file renamed over the old
// one, so a failed write leaves the old file whole. Failures return 0 and set errno.
#pragma once

#include <cstdint>
#include <string>

using UINT = unsigned int;
using DWORD = std::uint32_t;
using BOOL = int;

// Copies the value of section/key into out (at most size - 1 characters plus the terminator)
// and returns the number of characters copied. A missing key gives def (null: empty) with its
// trailing blanks removed. key null: every key name of the section, each terminated, the list
// ending in an extra terminator; section null: every section name likewise. Lists cut to size
// return size - 2.
DWORD GetPrivateProfileString(const wchar_t* section, const wchar_t* key, const wchar_t* def, wchar_t* out,
                              DWORD size, const wchar_t* file);

// The value as a number: optional blanks and sign, then decimal digits (or 0x and hex digits);
// a value that does not start with a number gives 0; a missing key gives def.
UINT GetPrivateProfileInt(const wchar_t* section, const wchar_t* key, int def, const wchar_t* file);

// Writes key=value into section. value null removes the key; key null removes the whole section.
// The file is made when it does not exist. A value is written up to its first line break.
BOOL WritePrivateProfileString(const wchar_t* section, const wchar_t* key, const wchar_t* value,
                               const wchar_t* file);

namespace winport {

// GBK conversions used by the ini functions. Bytes that are not GBK decode as U+FFFD;
// characters that GBK lacks encode as '?'.
std::wstring fromGbk(const std::string& bytes);
std::string toGbk(const std::wstring& text);

} // namespace winport
