#pragma once

// Names and the comment are Windows-1252 bytes; edits show them as text and
// refuse characters that the code page cannot hold, so every byte survives.

#include <QString>
#include <QValidator>

#include <optional>
#include <string>
#include <string_view>

class QLineEdit;

namespace tarnwick::gui {

QString FromBytes(std::string_view bytes);
// Nothing when a character cannot be held.
std::optional<std::string> ToBytes(const QString& text);

// Refuses any text holding a character Windows-1252 cannot hold.
class Cp1252Validator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

// Gives the edit a Cp1252Validator.
void AcceptOnlyCp1252(QLineEdit* edit);

} // namespace tarnwick::gui
