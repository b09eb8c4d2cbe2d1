#pragma once

#include <QLabel>
#include <QPushButton>

#include <functional>

class QShortcut;

// Captions and buttons with an Alt+letter key that leave their text as it is: text() stays the
// caption, and the letter is underlined only where the control is drawn (where the style
// underlines keys at all). Alt+letter is a shortcut of the control's window: a caption moves the
// focus to its buddy, a button is clicked, and the focus stays where it was.

// The text as drawn: the first occurrence of `letter` (either letter case) marked as the key,
// every "&" of the text kept as a plain "&". Without that letter, the text with "&" kept.
QString MnemonicText(const QString& text, QChar letter);

// The letter of one control and its Alt shortcut, which lives as long as the control.
class MnemonicKey {
public:
    void Bind(QWidget* control, QChar letter, const std::function<void()>& pressed);
    QChar Letter() const { return m_letter; }

private:
    QChar m_letter;
    QShortcut* m_shortcut = nullptr;
};

class MnemonicLabel : public QLabel {
public:
    using QLabel::QLabel;
    // Alt+letter moves the focus to the buddy; the label's text must hold the letter.
    void SetMnemonic(QChar letter);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    MnemonicKey m_key;
};

class MnemonicButton : public QPushButton {
public:
    using QPushButton::QPushButton;
    // Alt+letter clicks the button; its text must hold the letter.
    void SetMnemonic(QChar letter);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    MnemonicKey m_key;
};
