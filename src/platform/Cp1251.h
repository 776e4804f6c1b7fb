#pragma once
// Windows-1251, the single-byte code page of the catalogue and of every rule the program
// defines on character codes. Decoding is total (the one unassigned code, 0x98, decodes to
// U+FFFD); encoding reports whether every character was representable.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace zv::cp1251 {

char16_t ToUnicode(unsigned char code);
// The code of a character, or nothing when Windows-1251 has no such character.
std::optional<unsigned char> FromUnicode(char16_t ch);

QString Decode(QByteArrayView bytes);
// Nothing when some character has no code in Windows-1251.
std::optional<QByteArray> Encode(const QString& text);

// Case rules on codes: small letters are a-z, 0xE0..0xFF (а..я) and 0xB8 (ё).
bool IsLower(unsigned char code);
bool IsUpper(unsigned char code);
unsigned char ToUpper(unsigned char code);
unsigned char ToLower(unsigned char code);
bool IsCyrillic(unsigned char code);

}  // namespace zv::cp1251
