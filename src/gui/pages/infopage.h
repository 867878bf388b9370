#pragma once

// The info page of the main window (sheet "Info"): the file's one-line comment,
// stored only on commit.

#include "gui/common/pagecontext.h"

#include <QWidget>

#include <optional>
#include <string>

class QLabel;
class QLineEdit;

namespace tarnwick::gui {

class InfoPage : public QWidget {
    Q_OBJECT
public:
    explicit InfoPage(PageContext& context, QWidget* parent = nullptr);

    // The stored comment into the edit, with the keyboard focus.
    void ShowInfo();
    // The edit's text, every byte as it stands (blanks included), cut to 80
    // bytes, into the comment; then ShowInfo.
    // The comment to store, or nothing (after a box) when the text cannot be stored.
    std::optional<std::string> SaveInfo();

    QLabel* Label69 = nullptr;
    QLineEdit* TarnCommentEdit = nullptr;
    QLabel* Label70 = nullptr;

private:
    PageContext& context_;
};

} // namespace tarnwick::gui
