// The single-byte code page of the files the tax and social-insurance
// authorities read (Windows-1250, Central European). Everything inside the
// program is UTF-8; the declaration and e-filing files are written in this
// code page and read back from it.
#pragma once

#include <string>
#include <string_view>

namespace traveno {

// The UTF-8 text in Windows-1250, one byte per character. A character the
// code page lacks is written as its nearest equivalent, never dropped: the
// comma-below letters of Romanian (U+0218..U+021B) as the code page's
// cedilla letters, another accented Latin letter as its letter without the
// accent, anything else (and a byte sequence that is not UTF-8) as "?".
std::string ToWindows1250(std::string_view utf8);

// A Windows-1250 text in UTF-8; the five bytes the code page leaves
// undefined (0x81, 0x83, 0x88, 0x90, 0x98) become "?".
std::string FromWindows1250(std::string_view bytes);

}  // namespace traveno
