#include "gui/common/bytetext.h"

#include "core/data/cp1252.h"

#include <QLineEdit>

namespace tarnwick::gui {

QString FromBytes(std::string_view bytes)
{
    return QString::fromStdU16String(core::Cp1252ToUtf16(bytes));
}

std::optional<std::string> ToBytes(const QString& text)
{
    return core::Utf16ToCp1252(text.toStdU16String());
}

QValidator::State Cp1252Validator::validate(QString& input, int&) const
{
    return ToBytes(input) ? Acceptable : Invalid;
}

void AcceptOnlyCp1252(QLineEdit* edit)
{
    edit->setValidator(new Cp1252Validator(edit));
}

} // namespace tarnwick::gui
