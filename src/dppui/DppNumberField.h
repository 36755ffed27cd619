#pragma once
// The one edit-with-arrows control behind every numeric field of the DPP pages. A row of the
// field table says its range, step, wrap, text and reading; typing only marks the page
// modified, Enter (or leaving the field, or the page's apply) commits: the text is read, limited
// to the range and written back in its canonical form.

#include <QLineEdit>
#include <QSpinBox>

#include "dpp/DppFieldConversions.h"

namespace vorna {

class DppNumberField : public QSpinBox {
    Q_OBJECT
public:
    DppNumberField(const DppFieldSpec& row, QWidget* parent = nullptr);

    // Changes the row (a device type or channel count changed); keeps the value in range.
    void SetSpec(const DppFieldSpec& row);
    // Shows a value without reporting an edit.
    void Show(int value);
    // Reads the typed text into the value now.
    int Commit();
    QString Text() const;
    // The edit part, for typing into it.
    QLineEdit* Edit() const { return lineEdit(); }

Q_SIGNALS:
    // The user typed or stepped: the page is modified.
    void Edited();
    // A committed or stepped value.
    void Committed(int value);

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    int valueFromText(const QString& text) const override;
    QString textFromValue(int value) const override;
    void stepBy(int steps) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    DppFieldSpec m_spec;
    bool m_showing = false;
};

} // namespace vorna
