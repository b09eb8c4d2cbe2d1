#include "Mnemonics.h"

#include <QKeySequence>
#include <QPainter>
#include <QShortcut>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStylePainter>

QString MnemonicText(const QString& text, QChar letter)
{
    QString shown = text;
    shown.replace(u'&', QStringLiteral("&&"));
    const qsizetype at = letter.isNull() ? -1 : shown.indexOf(letter, 0, Qt::CaseInsensitive);
    if (at >= 0)
        shown.insert(at, u'&');
    return shown;
}

void MnemonicKey::Bind(QWidget* control, QChar letter, const std::function<void()>& pressed)
{
    m_letter = letter;
    delete m_shortcut;
    const auto key = static_cast<Qt::Key>(letter.toUpper().unicode());
    m_shortcut = new QShortcut(QKeySequence(QKeyCombination(Qt::AltModifier, key)), control);
    m_shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(m_shortcut, &QShortcut::activated, control, pressed);
    control->update();
}

void MnemonicLabel::SetMnemonic(QChar letter)
{
    m_key.Bind(this, letter, [this] {
        if (QWidget* field = buddy())
            field->setFocus(Qt::ShortcutFocusReason);
    });
}

void MnemonicLabel::paintEvent(QPaintEvent* event)
{
    if (m_key.Letter().isNull()) {
        QLabel::paintEvent(event);
        return;
    }
    // A plain-text caption without frame or indent, drawn as QLabel draws it, with the key marked.
    QPainter painter(this);
    QStyleOption option;
    option.initFrom(this);
    int flags = QStyle::visualAlignment(layoutDirection(), alignment()) | Qt::TextShowMnemonic;
    if (!style()->styleHint(QStyle::SH_UnderlineShortcut, &option, this))
        flags |= Qt::TextHideMnemonic;
    const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    style()->drawItemText(
        &painter, area, flags, palette(), isEnabled(), MnemonicText(text(), m_key.Letter()), foregroundRole());
}

void MnemonicButton::SetMnemonic(QChar letter)
{
    m_key.Bind(this, letter, [this] { click(); });
}

void MnemonicButton::paintEvent(QPaintEvent* event)
{
    if (m_key.Letter().isNull()) {
        QPushButton::paintEvent(event);
        return;
    }
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text = MnemonicText(text(), m_key.Letter());
    painter.drawControl(QStyle::CE_PushButton, option);
}
