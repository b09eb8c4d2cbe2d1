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
    QStringDecoder decoder(AnsiCodePage, QStringConverter::Flag::Stateless);
    QStringList converted;
    converted.reserve(static_cast<qsizetype>(texts.size()));
    for (const AnsiString& text : texts)
        converted.append(decoder.decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size()))));
    return converted;
}
