#include "TextConversion.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {

constexpr const char* AnsiCodePage = "windows-1251";

// Windows-1251 gives exactly one byte for every UTF-16 unit it holds; the converter flags a
// character it lacks, and drops a lone surrogate without a flag, so a short result tells that too.
bool ConvertsWhole(QStringView text, const QByteArray& bytes, const QStringEncoder& encoder)
{
    return !encoder.hasError() && bytes.size() == text.size();
}

// Calls `visit(codePoint, units)` for every code point of the text, a lone surrogate counting
// as one of its own; stops early when `visit` returns false.
template <typename Visit> void ForEachCodePoint(QStringView text, Visit visit)
{
    for (qsizetype at = 0; at < text.size();) {
        const QChar unit = text.at(at);
        qsizetype units = 1;
        char32_t codePoint = unit.unicode();
        if (unit.isHighSurrogate() && at + 1 < text.size() && text.at(at + 1).isLowSurrogate()) {
            codePoint = QChar::surrogateToUcs4(unit, text.at(at + 1));
            units = 2;
        }
        if (!visit(codePoint, text.mid(at, units)))
            return;
        at += units;
    }
}

} // namespace

AnsiString ToAnsi(const QString& text)
{
    QStringEncoder encoder(AnsiCodePage);
    QByteArray bytes = encoder.encode(text);
    if (!ConvertsWhole(text, bytes, encoder)) {
        // Character by character, so that each one Windows-1251 lacks gives exactly one "?".
        bytes.clear();
        ForEachCodePoint(text, [&bytes](char32_t codePoint, QStringView units) {
            if (AnsiHolds(codePoint)) {
                QStringEncoder one(AnsiCodePage);
                bytes += one.encode(units);
            } else {
                bytes += '?';
            }
            return true;
        });
    }
    return AnsiString(bytes.constData(), static_cast<size_t>(bytes.size()));
}

QString FromAnsi(std::string_view text)
{
    QStringDecoder decoder(AnsiCodePage);
    return decoder.decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
}

QStringList FromAnsi(const std::vector<AnsiString>& texts)
{
    // Windows-1251 gives one UTF-16 unit for every byte, so the texts are decoded as one run and
    // cut apart at their lengths: one call into the converter instead of one per text.
    size_t total = 0;
    for (const AnsiString& text : texts)
        total += text.size();
    AnsiString joined;
    joined.reserve(total);
    for (const AnsiString& text : texts)
        joined += text;
    QStringDecoder decoder(AnsiCodePage, QStringConverter::Flag::Stateless);
    const QString all = decoder.decode(QByteArrayView(joined.data(), static_cast<qsizetype>(joined.size())));

    QStringList converted;
    converted.reserve(static_cast<qsizetype>(texts.size()));
    qsizetype at = 0;
    for (const AnsiString& text : texts) {
        const auto length = static_cast<qsizetype>(text.size());
        converted.append(all.mid(at, length));
        at += length;
    }
    return converted;
}

bool AnsiHolds(char32_t character)
{
    if (character < 0x80)
        return true;
    // Beyond the Basic Multilingual Plane, and the surrogates themselves, nothing is held.
    if (character > 0xFFFF || QChar::isSurrogate(character))
        return false;
    const QChar unit(static_cast<char16_t>(character));
    QStringEncoder encoder(AnsiCodePage);
    const QByteArray bytes = encoder.encode(QStringView(&unit, 1));
    return ConvertsWhole(QStringView(&unit, 1), bytes, encoder);
}

std::optional<char32_t> FirstCharacterAnsiLacks(QStringView text)
{
    QStringEncoder encoder(AnsiCodePage);
    if (ConvertsWhole(text, encoder.encode(text), encoder))
        return std::nullopt;
    std::optional<char32_t> lacking;
    ForEachCodePoint(text, [&lacking](char32_t codePoint, QStringView) {
        if (AnsiHolds(codePoint))
            return true;
        lacking = codePoint;
        return false;
    });
    return lacking;
}
