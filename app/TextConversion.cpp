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
    // Windows-1251 gives one UTF-16 unit for every byte: the 256 of them are decoded once, and a
    // text is converted by looking its bytes up. The list of saved records converts names as it
    // shows them, and a search through it converts every one.
    static const QString units = [] {
        char bytes[256];
        for (int byte = 0; byte < 256; ++byte)
            bytes[byte] = static_cast<char>(byte);
        QStringDecoder decoder(AnsiCodePage, QStringConverter::Flag::Stateless);
        return QString(decoder.decode(QByteArrayView(bytes, 256)));
    }();
    if (units.size() != 256) {
        QStringDecoder decoder(AnsiCodePage);
        return decoder.decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
    }
    QString converted(static_cast<qsizetype>(text.size()), Qt::Uninitialized);
    QChar* at = converted.data();
    for (const char byte : text)
        *at++ = units[static_cast<unsigned char>(byte)];
    return converted;
}

QStringList FromAnsi(const std::vector<AnsiString>& texts)
{
    QStringList converted;
    converted.reserve(static_cast<qsizetype>(texts.size()));
    for (const AnsiString& text : texts)
        converted.append(FromAnsi(text));
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
