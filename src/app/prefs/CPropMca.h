#pragma once
// The MCA page: the Kestrel's port, baud rate, update interval, security code and battery type.
// For a DPP the page stays in the sheet with every control disabled.

#include "app/prefs/PreferencesPageWidget.h"

class QCheckBox;
class QComboBox;

namespace vorna {

class CPropMca : public PreferencesPageWidget {
    Q_OBJECT
public:
    CPropMca(PreferencesEnv& env, const McaLinkState& link, QWidget* parent = nullptr);
    void Collect() override;

private:
    void Fill() override;

    QComboBox* m_port;
    QComboBox* m_baud;
    QCheckBox* m_connect;
    QLineEdit* m_interval;
    QCheckBox* m_manual;
    QLineEdit* m_code;
    QComboBox* m_battery;
};

} // namespace vorna
