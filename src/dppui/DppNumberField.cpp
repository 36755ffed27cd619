#include "dppui/DppNumberField.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>

namespace vorna {

DppNumberField::DppNumberField(const DppFieldSpec& row, QWidget* parent) : QSpinBox(parent) {
    // Values move only on Enter, focus loss or an arrow, never while typing.
    setKeyboardTracking(false);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    SetSpec(row);
    connect(lineEdit(), &QLineEdit::textEdited, this, [this] { Q_EMIT Edited(); });
    connect(this, &QSpinBox::valueChanged, this, [this](int v) {
        if (!m_showing)
            Q_EMIT Committed(v);
    });
    connect(this, &QAbstractSpinBox::editingFinished, this, [this] {
        // The same value typed another way still shows its canonical text.
        lineEdit()->setText(textFromValue(value()));
    });
}

void DppNumberField::SetSpec(const DppFieldSpec& row) {
    m_spec = row;
    m_showing = true;
    setRange(row.minimum, row.maximum);
    setSingleStep(row.step);
    setWrapping(row.wrap);
    lineEdit()->setReadOnly(!row.typed);
    setToolTip(QString::fromUtf8(row.tip));
    lineEdit()->setText(textFromValue(value()));
    m_showing = false;
}

void DppNumberField::Show(int v) {
    m_showing = true;
    setValue(LimitFieldValue(m_spec, v));
    lineEdit()->setText(textFromValue(value()));
    m_showing = false;
}

int DppNumberField::Commit() {
    const int v = valueFromText(lineEdit()->text());
    if (v != value())
        setValue(v);
    lineEdit()->setText(textFromValue(value()));
    return value();
}

QString DppNumberField::Text() const {
    return lineEdit()->text();
}

QValidator::State DppNumberField::validate(QString&, int&) const {
    // Every entry is read and limited, never refused.
    return QValidator::Acceptable;
}

int DppNumberField::valueFromText(const QString& text) const {
    if (!m_spec.read)
        return value();
    return LimitFieldValue(m_spec, m_spec.read(text.toStdString()));
}

QString DppNumberField::textFromValue(int v) const {
    return m_spec.text ? QString::fromStdString(m_spec.text(v)) : QString::number(v);
}

void DppNumberField::stepBy(int steps) {
    int v = value();
    const int direction = steps > 0 ? 1 : -1;
    for (int i = 0; i < std::abs(steps); ++i)
        v = StepFieldValue(m_spec, v, direction);
    setValue(v);
    lineEdit()->setText(textFromValue(value()));
    Q_EMIT Edited();
}

void DppNumberField::keyPressEvent(QKeyEvent* event) {
    QSpinBox::keyPressEvent(event);
    // Enter stays in the field: it commits here and must not press the sheet's default button.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        event->accept();
}

} // namespace vorna
