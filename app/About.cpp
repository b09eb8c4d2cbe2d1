#include "About.h"

#include "Texts.h"

#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QFont>
#include <QGroupBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRect>
#include <QScreen>
#include <QShowEvent>
#include <QStringList>
#include <QStringView>

TAboutForm* AboutForm = nullptr;

namespace {

// The program's web page. The domain is reserved and can belong to no one else; it stands
// until the program has a home page of its own.
constexpr QStringView WebPageAddress = u"https://kalmir.example/";

constexpr QStringView IconPath = u":/icons/kalmir.svg";

constexpr Qt::GlobalColor LinkColor = Qt::blue;

constexpr int FontPixelSize = 11;

// The data file's line fits below the link, left of "Ок", in a smaller print.
constexpr QRect DataFileBounds(16, 250, 210, 11);
constexpr int DataFilePixelSize = 9;

QFont SansSerifFont(const QStringList& families)
{
    QFont font;
    font.setFamilies(families);
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(FontPixelSize);
    return font;
}

// Tahoma where it is installed, otherwise a sans-serif of similar width: the bounds of the
// controls were laid out for Tahoma.
QFont WindowFont()
{
    return SansSerifFont({QStringLiteral("Tahoma"), QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
        QStringLiteral("Nimbus Sans"), QStringLiteral("DejaVu Sans")});
}

QFont LinkFont()
{
    return SansSerifFont(
        {QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Arial"),
            QStringLiteral("Liberation Sans"), QStringLiteral("Nimbus Sans"), QStringLiteral("DejaVu Sans")});
}

} // namespace

TAboutForm::TAboutForm(QWidget* parent)
    : QDialog(parent,
        Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowCloseButtonHint)
{
    // The icon lives in the resources of a static library: make sure they are linked in.
    Q_INIT_RESOURCE(resources);

    setObjectName(QStringLiteral("AboutForm"));
    setWindowTitle(Texts::AboutCaption.toString());
    setWindowIcon(QIcon(IconPath.toString()));
    setFixedSize(348, 278);
    setFont(WindowFont());

    AboutGroupBox = new QGroupBox(Texts::AboutGroupCaption.toString(), this);
    AboutGroupBox->setObjectName(QStringLiteral("AboutGroupBox"));
    AboutGroupBox->setGeometry(8, 8, 322, 262);

    AboutMemo = new QPlainTextEdit(AboutGroupBox);
    AboutMemo->setObjectName(QStringLiteral("AboutMemo"));
    AboutMemo->setGeometry(16, 16, 289, 214);
    AboutMemo->setReadOnly(true);
    // Readers who use the keyboard can still move through the text.
    AboutMemo->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    AboutMemo->setFocusPolicy(Qt::StrongFocus);
    AboutMemo->setTabChangesFocus(true);
    AboutMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    AboutMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    AboutMemo->setPlainText(Texts::AboutTermsOfUse.toString());

    AboutLink = new QLabel(Texts::AboutLinkCaption.toString(), AboutGroupBox);
    AboutLink->setObjectName(QStringLiteral("AboutLink"));
    AboutLink->setFont(LinkFont());
    // Like a label sized to its text: a stand-in font a little wider than the original must
    // not cut off the last letter.
    AboutLink->setGeometry(16, 236, qMax(153, AboutLink->sizeHint().width()), qMax(13, AboutLink->sizeHint().height()));
    AboutLink->setCursor(Qt::PointingHandCursor);
    // Reached by Tab after "Ок" and opened by Enter or Space, as a link on a web page is.
    AboutLink->setFocusPolicy(Qt::StrongFocus);
    AboutLink->setAccessibleDescription(Texts::AboutLinkDescription.toString());
    AboutLink->installEventFilter(this);
    SetLinkHovered(false);

    OkButton = new QPushButton(Texts::AboutOkCaption.toString(), AboutGroupBox);
    OkButton->setObjectName(QStringLiteral("OkButton"));
    OkButton->setGeometry(230, 234, 75, 25);
    connect(OkButton, &QPushButton::clicked, this, &TAboutForm::OkButtonClick);

    DataFileLabel = new QLabel(AboutGroupBox);
    DataFileLabel->setObjectName(QStringLiteral("DataFileLabel"));
    DataFileLabel->setTextFormat(Qt::PlainText);
    QFont small = WindowFont();
    small.setPixelSize(DataFilePixelSize);
    DataFileLabel->setFont(small);
    DataFileLabel->setGeometry(DataFileBounds);

    setTabOrder(AboutMemo, OkButton);
    setTabOrder(OkButton, AboutLink);
}

void TAboutForm::ShowDataFilePath(const QString& path)
{
    const QString line = Texts::AboutDataFileText.toString().arg(QDir::toNativeSeparators(path));
    DataFileLabel->setText(DataFileLabel->fontMetrics().elidedText(line, Qt::ElideMiddle, DataFileLabel->width()));
    DataFileLabel->setToolTip(line);
    DataFileLabel->setAccessibleName(line);
}

QUrl TAboutForm::WebPageUrl()
{
    return QUrl(WebPageAddress.toString());
}

void TAboutForm::AboutLinkClick()
{
    QDesktopServices::openUrl(WebPageUrl());
}

void TAboutForm::OkButtonClick()
{
    accept();
}

void TAboutForm::showEvent(QShowEvent* event)
{
    if (!event->spontaneous() && parentWidget() != nullptr) {
        const QWidget* owner = parentWidget()->window();
        QRect frame = frameGeometry();
        frame.moveCenter(owner->frameGeometry().center());
        // An owner near the edge of the screen must not push "Ок" out of reach.
        if (const QScreen* screen = owner->screen()) {
            const QRect available = screen->availableGeometry();
            frame.moveLeft(qBound(available.left(), frame.left(), available.right() + 1 - frame.width()));
            frame.moveTop(qBound(available.top(), frame.top(), available.bottom() + 1 - frame.height()));
        }
        move(frame.topLeft());
    }
    QDialog::showEvent(event);
}

bool TAboutForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != AboutLink)
        return QDialog::eventFilter(watched, event);

    switch (event->type()) {
    case QEvent::Enter:
        SetLinkHovered(true);
        break;
    case QEvent::Leave:
        SetLinkHovered(false);
        break;
    case QEvent::FocusIn:
    case QEvent::FocusOut: {
        // The focus shows as the underline of a link.
        QFont font = AboutLink->font();
        font.setUnderline(AboutLink->hasFocus());
        AboutLink->setFont(font);
        break;
    }
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        // Taken here, so that Enter does not press the window's default button "Ок" as well.
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
            AboutLinkClick();
            return true;
        }
        break;
    }
    case QEvent::MouseButtonPress:
        // Taken here so that the release comes back to the link, not to the group box.
        return static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        // A press that is dragged off the link before release is no click, as with a button.
        if (mouse->button() == Qt::LeftButton && AboutLink->rect().contains(mouse->position().toPoint())) {
            AboutLinkClick();
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void TAboutForm::SetLinkHovered(bool hovered)
{
    QPalette linkPalette = AboutLink->palette();
    linkPalette.setColor(QPalette::WindowText, hovered ? palette().color(QPalette::WindowText) : QColor(LinkColor));
    AboutLink->setPalette(linkPalette);
}
