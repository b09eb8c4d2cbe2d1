#pragma once

#include <QDialog>
#include <QUrl>

class QEvent;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QShowEvent;

// The About window: the terms of use, a link to the program's web page and the button "Ок".
// It is created once at start-up and shown modally again and again; nothing in it changes
// between showings.
class TAboutForm : public QDialog {
    Q_OBJECT

public:
    explicit TAboutForm(QWidget* parent = nullptr);

    // The address the link opens.
    static QUrl WebPageUrl();

    // Asks the desktop to open the program's web page in the default browser. Never reports a
    // failure: when no browser opens, nothing happens.
    void AboutLinkClick();
    // Closes the window, which ends its modal display.
    void OkButtonClick();

    // Shows the path of the data file in use below the link, shortened in the middle when it is
    // longer than the line; the whole path is its tooltip.
    void ShowDataFilePath(const QString& path);

protected:
    // Every showing starts in the centre of the owner window, wherever that has moved since, but
    // never sticks out of the screen.
    void showEvent(QShowEvent* event) override;
    // The link label reacts to the mouse (colour under the mouse, click) and, once it has the
    // focus, to Enter and Space, which open the page as a click does.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetLinkHovered(bool hovered);

    QGroupBox* AboutGroupBox;
    QPlainTextEdit* AboutMemo;
    QLabel* AboutLink;
    QPushButton* OkButton;
    QLabel* DataFileLabel;
};

// The program's one About window; the application entry creates it.
extern TAboutForm* AboutForm;
