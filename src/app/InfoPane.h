#pragma once
// The info pane (CInfo): the texts of the active spectrum in rows, painted in the info-pane font
// on its background colour. The texts come from the core; this widget only places them.

#include <QFont>
#include <QPainter>
#include <QWidget>
#include <functional>
#include <vector>

#include "appcore/DppInfoValues.h"
#include "appcore/InfoPaneRows.h"
#include "settings/ProfileValues.h"

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
    // The height that shows every row whole.
    int ContentHeight() const;
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
    void FitRows();
    void PaintTexts(QPainter& p) const;

    ProgramState& m_state;
    std::vector<InfoPaneCell> m_cells;
    QColor m_background;
    std::function<DppLiveInfo()> m_dppSource;
};

// 0x00BBGGRR as the profile stores colours.
QColor ColorFromRgbWord(int bgr);
int RgbWordFromColor(const QColor& color);

// A pane font of the profile drawn on `base` (the toolkit's default font): the face, pixel
// height and boldness the profile names, `base` for what it leaves open.
QFont FontFromProfile(const PaneFont& font, const QFont& base);
// The chosen font in the profile's terms.
void StoreFont(const QFont& chosen, PaneFont& font);

} // namespace vorna
