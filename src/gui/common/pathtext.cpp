#include "gui/common/pathtext.h"

#include <QByteArray>
#include <QDir>
#include <QFile>

namespace tarnwick::gui {

QString ShownPath(const std::filesystem::path& path)
{
    return QDir::toNativeSeparators(QString::fromUtf8(path.native().data(), qsizetype(path.native().size())));
}

std::filesystem::path PathFromText(const QString& text, const std::filesystem::path& known)
{
    const QString typed = QDir::fromNativeSeparators(text);
    if (!known.empty()) {
        const QString shown = QDir::fromNativeSeparators(ShownPath(known));
        if (typed == shown)
            return known;
        const QString prefix = shown.endsWith('/') ? shown : shown + '/';
        if (typed.startsWith(prefix))
            return known / QFile::encodeName(typed.mid(prefix.size())).toStdString();
    }
    return std::filesystem::path(QFile::encodeName(typed).toStdString());
}

} // namespace tarnwick::gui
