#pragma once
// A button filled with a colour; a click opens the standard colour chooser at that colour.

#include <QPushButton>
#include <cstdint>

namespace vorna {

class ColorButton : public QPushButton {
    Q_OBJECT
public:
    explicit ColorButton(QWidget* parent = nullptr);

    uint32_t Color() const { return m_color; } // 0x00BBGGRR
    void SetColor(uint32_t color);
    QSize sizeHint() const override;

Q_SIGNALS:
    void ColorChosen(uint32_t color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Choose();

    uint32_t m_color = 0;
};

} // namespace vorna
