#pragma once

// The dialog that renumbers one number to another over the loaded file: in one
// configuration nations (of units and formations), in the other unit classes.
// Beside each typed number it names what the number stands for, as it is typed.

#include "core/rules/renumbernames.h"
#include "gui/common/pagecontext.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QToolButton;

namespace tarnwick::gui {

// Texts and object names of one configuration.
struct RenumberDlgConfig {
    core::RenumberKind kind;
    const char* objectName;
    const char* caption;
    const char* fromCaption;
    const char* toCaption;
    const char* buttonCaption;
    const char* closeCaption;
    const char* closeHint;
    int editLength; // 0: no limit
    const char* headingName;
    const char* fromEditName;
    const char* fromNameName;
    const char* toEditName;
    const char* toNameName;
    // The running count: a label of this name, or with statusBarName a status
    // bar of that name holding the label.
    const char* progressName;
    const char* statusBarName;
};

class TRenumberDlg : public QDialog {
    Q_OBJECT
public:
    QLabel* heading = nullptr;
    QLineEdit* fromEdit = nullptr;
    QToolButton* UnitWpn1PickBtn = nullptr;
    QLabel* fromName = nullptr;
    QLineEdit* toEdit = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QLabel* toName = nullptr;
    QLabel* progress = nullptr;
    QStatusBar* statusBar = nullptr; // only where the configuration has one
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BitBtn2 = nullptr;

public slots:
    // Renumbers (or reclassifies) From to To over the loaded file.
    void BitBtn1Click();

protected:
    TRenumberDlg(const RenumberDlgConfig& config, PageContext& context, QWidget* parent);

    // Both edits to number (their names follow), the count cleared.
    void reset(const QString& number);
    // Shows the dialog modally; true when records changed while it was open.
    bool run();

    PageContext& context_;

private:
    void pick(QLineEdit* edit);
    void showName(QLineEdit* edit, QLabel* name);

    core::RenumberKind kind_;
    bool changed_ = false;
};

} // namespace tarnwick::gui
