#include "TextConversion.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {

constexpr const char* AnsiCodePage = "windows-1251";

} // namespace

AnsiString ToAnsi(const QString& text)
{
    QStringEncoder encoder(AnsiCodePage);
    const QByteArray bytes = encoder.encode(text);
    return AnsiString(bytes.constData(), static_cast<size_t>(bytes.size()));
}

QString FromAnsi(const AnsiString& text)
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
