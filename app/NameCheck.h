#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// Period names and record names enter the records, and through them the data file, which must
// give them back exactly as they were typed.

// The first character of the name that could not come back: one that Windows-1251 lacks, or
// one that a record line cannot carry (RecordLineSeparators). Nothing when the whole name can
// be stored.
std::optional<char32_t> FirstRefusedCharacter(QStringView name);

// The message that refuses a name for that character: "Недопустимый символ в названии" and the
// character in quotes, so that the user learns which one it was. A character that cannot be
// seen (a line end, a control character, a lone surrogate) is named by its code, as U+000A.
QString RefusedCharacterMessage(char32_t character);
