#include "gui/graphics/picturelabel.h"

#include "gui/common/dialogs.h"
#include "gui/graphics/picture.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPixmap>
#include <QSaveFile>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace tarnwick::gui {

PictureLabel::PictureLabel(Dialogs* dialogs, QWidget* parent)
    : QLabel(parent)
    , dialogs_(dialogs)
{
    setContextMenuPolicy(Qt::DefaultContextMenu);
}

void PictureLabel::setFixedCell(const QSize& size)
{
    cell_ = size;
    setFixedSize(size);
    setAlignment(Qt::AlignCenter);
}

void PictureLabel::setPicture(const QImage& picture, bool transparent)
{
    picture_ = picture;
    transparent_ = transparent;
    QPixmap shown = QPixmap::fromImage(transparent ? WithBottomLeftColourClear(picture) : picture);
    if (cell_.isValid()) {
        if (shown.width() > cell_.width() || shown.height() > cell_.height())
            shown = shown.scaled(cell_, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        setPixmap(shown);
        return;
    }
    if (largest_.isValid() && (shown.width() > largest_.width() || shown.height() > largest_.height()))
        shown = shown.scaled(largest_, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    setPixmap(shown);
    resize(shown.size());
}

void PictureLabel::showMessage(const QString& text)
{
    picture_ = QImage();
    setWordWrap(true);
    setAlignment(Qt::AlignCenter);
    setText(text);
    setToolTip(text);
    if (!cell_.isValid())
        resize(largest_.isValid() ? largest_ : sizeHint());
}

void PictureLabel::showIn(const QRect& rect)
{
    if (pixmap().size() != rect.size()) {
        const QPixmap whole
            = QPixmap::fromImage(transparent_ ? WithBottomLeftColourClear(picture_) : picture_);
        setPixmap(rect.size() == whole.size()
                ? whole
                : whole.scaled(rect.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    setGeometry(rect);
}

void PictureLabel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit clicked();
    QLabel::mousePressEvent(event);
}

void PictureLabel::contextMenuEvent(QContextMenuEvent* event)
{
    // The keys that open the menu are taken in keyPressEvent, on every platform alike.
    if (event->reason() == QContextMenuEvent::Keyboard) {
        event->accept();
        return;
    }
    if (!showMenu(event->globalPos()))
        QLabel::contextMenuEvent(event);
}

void PictureLabel::keyPressEvent(QKeyEvent* event)
{
    const bool menuKey = event->key() == Qt::Key_Menu && event->modifiers() == Qt::NoModifier;
    const bool shiftF10 = event->keyCombination() == QKeyCombination(Qt::SHIFT, Qt::Key_F10);
    if ((menuKey || shiftF10) && showMenu(mapToGlobal(QPoint(width() / 4, height() / 4)))) {
        event->accept();
        return;
    }
    QLabel::keyPressEvent(event);
}

void PictureLabel::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    QStylePainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
}

bool PictureLabel::showMenu(const QPoint& pos)
{
    if ((picture_.isNull() && extraActions_.isEmpty()) || dialogs_ == nullptr)
        return false;
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("PictureMenu"));
    QAction* save = nullptr;
    if (!picture_.isNull()) {
        save = menu.addAction(QString::fromUtf8("Save as PNG\u2026"));
        save->setObjectName("SaveAsPngAction");
    }
    menu.addActions(extraActions_);
    if (QAction* chosen = menu.exec(pos); chosen != nullptr && chosen == save)
        saveAsPng();
    return true;
}

QAction* PictureLabel::addMenuAction(const QString& text, const QString& objectName)
{
    auto* action = new QAction(text, this);
    action->setObjectName(objectName);
    extraActions_.append(action);
    return action;
}

bool PictureLabel::saveAsPng()
{
    if (picture_.isNull() || dialogs_ == nullptr)
        return false;
    QString name = saveName_.isEmpty() ? QStringLiteral("picture.png") : saveName_;
    const QString start = saveFolder_.isEmpty() ? name : QDir(saveFolder_).filePath(name);
    const std::optional<QString> chosen = dialogs_->saveAsFileName(
        this, QString::fromUtf8("Save as PNG"), QStringLiteral("PNG Pictures (*.png)"), start);
    if (!chosen || chosen->isEmpty())
        return false;
    QString path = *chosen;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".png");
    // Written beside the target and renamed over it, so a failed write leaves
    // an older file as it was.
    QSaveFile file(path);
    QString error;
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
    } else {
        QImageWriter writer(&file, "png");
        if (!writer.write(picture_)) {
            error = writer.errorString();
            file.cancelWriting();
        } else if (!file.commit()) {
            error = file.errorString();
        }
    }
    if (!error.isEmpty()) {
        dialogs_->message(this, Dialogs::Kind::Error, QStringLiteral("Save as PNG"),
            QStringLiteral("Could not write %1: %2").arg(QDir::toNativeSeparators(path), error));
        return false;
    }
    return true;
}

} // namespace tarnwick::gui
