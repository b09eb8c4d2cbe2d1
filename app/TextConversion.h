#pragma once

#include "MDate.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <string_view>
#include <vector>

// The one crossing between the controls' UTF-16 text and the program's Windows-1251 text.
// Windows-1251 holds 256 characters, one byte each, and every byte stands for one of them
// (0x98, which the code page leaves unassigned, for U+0098), so FromAnsi never loses anything.
// ToAnsi loses what Windows-1251 lacks: every such character (a letter like Қ, a character
// outside the Basic Multilingual Plane, a lone UTF-16 surrogate) becomes one "?". One typed text
// always gives the same bytes, but two texts may give the same ones: a text that must come back
// as typed is checked with FirstCharacterAnsiLacks first.
AnsiString ToAnsi(const QString& text);
QString FromAnsi(std::string_view text);

// The same conversion for many texts at once.
QStringList FromAnsi(const std::vector<AnsiString>& texts);

// True when Windows-1251 holds the character (a Unicode code point): ToAnsi gives one byte for
// it, and FromAnsi gives it back.
bool AnsiHolds(char32_t character);

// The first character of the text that Windows-1251 lacks, as a code point (a lone surrogate as
// its own code unit); nothing when FromAnsi(ToAnsi(text)) gives the text back unchanged.
std::optional<char32_t> FirstCharacterAnsiLacks(QStringView text);
