#include "NameCheck.h"

#include "SavedRecords.h"
#include "TextConversion.h"
#include "Texts.h"

namespace {

bool IsRecordLineSeparator(char32_t character)
{
    return character < 0x80 && RecordLineSeparators.find(static_cast<char>(character)) != std::string_view::npos;
}

} // namespace

std::optional<char32_t> FirstRefusedCharacter(QStringView name)
{
    qsizetype separator = 0;
    while (separator < name.size() && !IsRecordLineSeparator(name.at(separator).unicode()))
        ++separator;
    // The separators are ASCII, so the cut parts no surrogate pair.
    if (const std::optional<char32_t> lacking = FirstCharacterAnsiLacks(name.first(separator)))
        return lacking;
    if (separator < name.size())
        return name.at(separator).unicode();
    return std::nullopt;
}

QString RefusedCharacterMessage(char32_t character)
{
    const bool visible = QChar::isPrint(character) && !QChar::isSurrogate(character);
    const QString shown = visible
        ? QString::fromUcs4(&character, 1)
        : Texts::CharacterCode.toString().arg(static_cast<uint>(character), 4, 16, QLatin1Char('0')).toUpper();
    return Texts::RefusedCharacterMessage.toString().arg(Texts::InvalidCharacterMessage, shown);
}
