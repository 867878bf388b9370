#include "support/guitest.h"

#include "core/data/tarnio.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <memory>

namespace tarnwick::testing {

namespace {

QtMessageHandler previousHandler = nullptr;

void FilterOffscreenNoise(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message == QLatin1String("This plugin does not support propagateSizeHints()"))
        return;
    if (previousHandler != nullptr)
        previousHandler(type, context, message);
}

} // namespace

void MissingChild(const QObject& parent, const QString& name, const char* type)
{
    qFatal("%s has no %s named \"%s\"", qPrintable(parent.objectName()), type, qPrintable(name));
}

void InstallMessageFilter()
{
    static bool installed = false;
    if (!installed) {
        previousHandler = qInstallMessageHandler(FilterOffscreenNoise);
        installed = true;
    }
}

void OnNextModal(std::function<void(QWidget*)> action, int timeoutMs)
{
    auto* timer = new QTimer(qApp);
    auto remaining = std::make_shared<int>(timeoutMs / 20);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, remaining, action] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            action(modal);
        } else if (--*remaining <= 0) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(20);
}

void RejectOpenModals()
{
    for (int guard = 0; guard < 10; ++guard) {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr)
            return;
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
        QApplication::processEvents();
    }
}

QString WriteOobFile(const QString& dir, int nation, core::TOobData& data)
{
    const std::vector<std::uint8_t> bytes = core::EncodeOobFile(data, static_cast<std::uint16_t>(nation));
    const QString path = QDir(dir).filePath(QString::fromStdString(core::OobFileName(nation)));
    WriteBytes(
        path, QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
    return path;
}

QString WriteSampleOobFile(const QString& dir, int nation)
{
    auto data = std::make_unique<core::TOobData>();
    data->comment = "Sample file " + std::to_string(nation);
    data->units[1].name = "Scout car";
    data->units[1].nation = static_cast<std::uint8_t>(nation);
    data->units[1].unitClass = 5;
    data->units[2].name = "Rifle section";
    data->units[2].nation = static_cast<std::uint8_t>(nation);
    data->weapons[1].name = "Rifle";
    data->weapons[1].weaponClass = 1;
    data->formations[1].name = "Company HQ";
    data->formations[1].nation = static_cast<std::uint8_t>(nation);
    data->formations[1].slot[0] = 1;
    return WriteOobFile(dir, nation, *data);
}

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QString WriteSettingsFile(const QString& dir, const std::map<std::string, std::string>& tarnwick,
    const std::map<int, std::string>& nationNames)
{
    std::string text = "[Tarnwick]\r\n";
    for (const auto& [key, value] : tarnwick)
        text += key + "=" + value + "\r\n";
    text += "[NationNames]\r\n";
    for (const auto& [number, name] : nationNames)
        text += "tarn" + std::to_string(number) + "=" + name + "\r\n";
    const QString path = QDir(dir).filePath("TWFTK.ini");
    WriteBytes(path, QByteArray::fromStdString(text));
    return path;
}

} // namespace tarnwick::testing
