#pragma once
// Shows a bitmap file at its actual size on grey, scrolled by 1 pixel a line and 20 a page when
// it is larger than the view, never past its right or bottom edge.

#include <QAbstractScrollArea>
#include <QImage>

namespace vorna {

class CBitmapCtrl : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit CBitmapCtrl(QWidget* parent = nullptr);

    // False (and "File not found." in the view) when the file cannot be read.
    bool Load(const QString& path);
    const QImage& Picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void UpdateScrollBars();

    QImage m_picture;
};

} // namespace vorna
