#pragma once
// The info pane (CInfo): the texts of the active spectrum in rows, painted in the info-pane font
// on its background colour. The texts come from the core; this widget only places them.

#include <QPainter>
#include <QWidget>
#include <functional>
#include <vector>

#include "appcore/DppInfoValues.h"
#include "appcore/InfoPaneRows.h"

namespace vorna {

class ProgramState;

class InfoPane : public QWidget {
    Q_OBJECT
public:
    explicit InfoPane(ProgramState& state, QWidget* parent = nullptr);

    // Re-reads the active spectrum and repaints.
    void Refresh();
    const std::vector<InfoPaneCell>& Cells() const { return m_cells; }
    // The label or value text of a row ("" when the row has none).
    QString Label(int row) const;
    QString Value(int row) const;
    void ApplyProfileLook();
    // The labels and values for a printed page, in the pane's own pixels, without background.
    void PaintForPrint(QPainter& p) const;
    // The connected DPP's values for the live spectrum in the DPP layout.
    void SetDppSource(std::function<DppLiveInfo()> source) { m_dppSource = std::move(source); }

Q_SIGNALS:
    // After every Refresh: windows that show the active spectrum's ROIs follow it.
    void Refreshed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void PaintTexts(QPainter& p) const;

    ProgramState& m_state;
    std::vector<InfoPaneCell> m_cells;
    QColor m_background;
    std::function<DppLiveInfo()> m_dppSource;
};

// 0x00BBGGRR as the profile stores colours.
QColor ColorFromRgbWord(int bgr);
int RgbWordFromColor(const QColor& color);

} // namespace vorna
