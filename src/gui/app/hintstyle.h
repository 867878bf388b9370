#pragma once

// The application style with the hint (tool-tip) delay the settings ask for.

#include <QProxyStyle>

namespace tarnwick::gui {

class HintStyle : public QProxyStyle {
    Q_OBJECT
public:
    explicit HintStyle(QStyle* base = nullptr);

    void setHintDelay(int ms) { hintDelayMs_ = ms; }
    int hintDelay() const { return hintDelayMs_; }

    int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
        QStyleHintReturn* returnData = nullptr) const override;

    // The application's hint style, installed on first use.
    static HintStyle* install();

private:
    int hintDelayMs_ = 3000;
};

} // namespace tarnwick::gui
