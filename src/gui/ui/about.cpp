#include "gui/ui/about.h"

#include "gui/common/screenplace.h"
#include "gui/ui/titleartwork.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

namespace tarnwick::gui {

namespace {

constexpr int kBevel = 3;
constexpr int kArtMargin = 2;

// The panel's picture: the title artwork on the left of a pale map sheet that
// carries the texts and the button.
QPixmap AboutPicture(QSize size)
{
    QImage picture = MapSheetArtwork(size);
    QPainter painter(&picture);
    const QImage art = TitleArtwork();
    const QPoint at(kArtMargin, (size.height() - art.height()) / 2);
    painter.drawImage(at, art);
    painter.setPen(QPen(QColor(60, 60, 40), 1));
    painter.drawLine(at.x() + art.width(), 0, at.x() + art.width(), size.height());
    painter.end();
    return QPixmap::fromImage(picture);
}

} // namespace

QString TmyAboutBox::VersionText()
{
    return QStringLiteral("Tarnwick for GH:FTK  version " TARNWICK_VERSION);
}

TmyAboutBox::TmyAboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("TmyAboutBox"));
    setWindowTitle(QStringLiteral("About Tarnwick For GH:FTK"));
    setWindowIcon(tarnwick::gui::ProgramIcon());
    setModal(true);
    setFixedSize(kClientWidth, kClientHeight);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(kBevel);
    Panel1->setGeometry(0, 0, kClientWidth, kClientHeight);

    const QRect inside = Panel1->contentsRect();
    ProgramIcon = new QLabel(Panel1);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setGeometry(inside);
    ProgramIcon->setScaledContents(true);
    ProgramIcon->setPixmap(AboutPicture(inside.size()));

    // The texts stand on the map sheet right of the artwork.
    const int textLeft = kArtMargin + kTitleArtworkWidth + 14;
    const int textWidth = inside.width() - textLeft - 10;

    Version = new QLabel(VersionText(), ProgramIcon);
    Version->setObjectName(QStringLiteral("Version"));
    Version->setAttribute(Qt::WA_TranslucentBackground);
    Version->setAutoFillBackground(false);
    QFont versionFont = Version->font();
    versionFont.setBold(true);
    versionFont.setPixelSize(14);
    Version->setFont(versionFont);
    Version->setStyleSheet(QStringLiteral("QLabel { color: navy; background: transparent; }"));
    Version->setWordWrap(true);
    Version->setGeometry(textLeft, 28, textWidth, 44);

    Comments = new QLabel(ProgramIcon);
    Comments->setObjectName(QStringLiteral("Comments"));
    Comments->setAttribute(Qt::WA_TranslucentBackground);
    Comments->setStyleSheet(QStringLiteral("QLabel { color: navy; background: transparent; }"));
    Comments->setWordWrap(true);
    Comments->setText(
        QStringLiteral("Order of battle editor for the OOB files of the GH:FTK edition.\n\n"
                       "Edits units, weapons and formations, carries them between nations' files, "
                       "and shows each unit's picture and map icon.\n\n"
                       "Free software under the GNU General Public License, version 3 or "
                       "later (GPL-3.0-or-later); see LICENSE."));
    Comments->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Comments->setGeometry(textLeft, 84, textWidth, 150);

    OKButton = new QPushButton(QStringLiteral("OK"), Panel1);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    OKButton->setAutoDefault(true);
    const QSize buttonSize(88, 30);
    OKButton->setGeometry(inside.right() - buttonSize.width() - 16,
        inside.bottom() - buttonSize.height() - 14, buttonSize.width(), buttonSize.height());
    OKButton->raise();
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

void TmyAboutBox::showEvent(QShowEvent* event)
{
    // Centred on the screen each time it is shown.
    CentreOnScreen(this);
    OKButton->setFocus();
    QDialog::showEvent(event);
}

} // namespace tarnwick::gui
