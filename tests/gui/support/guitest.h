#pragma once

// Helpers every window test uses: the offscreen noise filter, modal dialogs,
// and fixture files.

#include "core/data/records.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>
#include <map>
#include <string>

class QWidget;

namespace tarnwick::testing {

// Ends the run naming the object a test looked for and did not find.
[[noreturn]] void MissingChild(const QObject& parent, const QString& name, const char* type);

// The child of parent (at any depth) with this object name and type. The
// window's widgets are reached this way, by the names the rest of the
// program knows them by.
template <typename T> T* Child(const QObject& parent, const QString& name)
{
    T* child = parent.findChild<T*>(name);
    if (child == nullptr)
        MissingChild(parent, name, T::staticMetaObject.className());
    return child;
}

// Filters exactly the offscreen platform's "propagateSizeHints()" warning.
void InstallMessageFilter();

// Runs action on the next modal widget once it is shown (polled from a timer).
void OnNextModal(std::function<void(QWidget*)> action, int timeoutMs = 5000);
// Rejects every modal widget still open (cleanup after a failed check).
void RejectOpenModals();

// Writes a file of nation into dir from data; returns its path.
QString WriteOobFile(const QString& dir, int nation, core::TOobData& data);
// A full file with a few named records, for opening and saving.
QString WriteSampleOobFile(const QString& dir, int nation);
// Writes raw bytes.
void WriteBytes(const QString& path, const QByteArray& bytes);
QByteArray ReadBytes(const QString& path);

// A settings file: [Tarnwick] keys, then the given nation names.
QString WriteSettingsFile(const QString& dir, const std::map<std::string, std::string>& tarnwick,
    const std::map<int, std::string>& nationNames = {});

} // namespace tarnwick::testing
