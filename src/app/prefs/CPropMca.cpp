#include "app/prefs/CPropMca.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "app/TextConvert.h"

namespace vorna {

CPropMca::CPropMca(PreferencesEnv& env, const McaLinkState& link, QWidget* parent)
    : PreferencesPageWidget(env, PreferencesPage::Mca, parent), m_port(new QComboBox),
      m_baud(new QComboBox), m_connect(new QCheckBox(QStringLiteral("Connect on S&tartup"))),
      m_interval(new QLineEdit), m_manual(new QCheckBox(QStringLiteral("Ma&nual"))),
      m_code(new QLineEdit), m_battery(new QComboBox) {
    m_port->setEditable(true);
    for (int n = 1; n <= 9; ++n)
        m_port->addItem(QStringLiteral("COM%1").arg(n));
    m_baud->setEditable(true);
    m_baud->addItems({QStringLiteral("9600"), QStringLiteral("19200"), QStringLiteral("38400"),
                      QStringLiteral("57600"), QStringLiteral("115200")});
    m_battery->addItems({QStringLiteral("Alkaline"), QStringLiteral("NiCd")});
    for (QComboBox* combo : {m_port, m_baud, m_battery}) {
        combo->setMinimumContentsLength(9);
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    }

    auto* linkBox = new QGroupBox(QStringLiteral("Connection"));
    auto* linkForm = new QFormLayout(linkBox);
    linkForm->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    linkForm->addRow(QStringLiteral("COM P&ort:"), m_port);
    linkForm->addRow(QStringLiteral("&Baud Rate:"), m_baud);
    linkForm->addRow(QString(), m_connect);

    auto* update = new QGroupBox(QStringLiteral("Update"));
    auto* updateForm = new QFormLayout(update);
    updateForm->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    updateForm->addRow(QStringLiteral("&Interval:"), m_interval);
    updateForm->addRow(QString(), m_manual);

    auto* security = new QGroupBox(QStringLiteral("Security"));
    auto* securityForm = new QFormLayout(security);
    securityForm->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    auto* warning = new QLabel(QStringLiteral(
        "Warning!!  Entering security code of 0 unlocks the MCA and purges all MCA data."));
    warning->setWordWrap(true);
    securityForm->addRow(warning);
    securityForm->addRow(QStringLiteral("MCA Security &Code:"), m_code);
    securityForm->addRow(QStringLiteral("Battery T&ype:"), m_battery);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(linkBox);
    layout->addWidget(update);
    layout->addWidget(security);
    layout->addStretch(1);

    m_manual->setToolTip(QStringLiteral("Enable manual update"));
    m_interval->setToolTip(QStringLiteral("Update interval for software re-displays"));
    m_port->setToolTip(QStringLiteral("COM port selection"));
    m_baud->setToolTip(QStringLiteral("Baud rate selection"));
    m_connect->setToolTip(QStringLiteral("Connect to  KestrelA on startup"));

    // Names for tests and accessibility tools.
    m_port->setObjectName(QStringLiteral("comPort"));
    m_baud->setObjectName(QStringLiteral("baudRate"));
    m_interval->setObjectName(QStringLiteral("interval"));
    m_code->setObjectName(QStringLiteral("securityCode"));
    m_battery->setObjectName(QStringLiteral("batteryType"));
    Track(m_port);
    Track(m_baud);
    Track(m_connect);
    Track(m_interval);
    Track(m_manual);
    Track(m_code);
    Track(m_battery);
    Load();

    const int type = env.deviceType;
    const bool securityOn = McaSecurityFieldsEnabled(type, link);
    m_code->setEnabled(securityOn);
    m_battery->setEnabled(securityOn);
    if (!DescribePage(PreferencesPage::Mca, type).controlsEnabled)
        for (QWidget* w : findChildren<QWidget*>())
            w->setEnabled(false);
}

void CPropMca::Fill() {
    const McaPageValues& m = m_env.model.mca;
    m_port->setEditText(FromCore(m.comPort));
    m_baud->setEditText(FromCore(m.baudRate));
    m_connect->setChecked(m.autoConnect);
    m_interval->setText(FromCore(m.interval));
    m_manual->setChecked(m.manual);
    m_code->setText(FromCore(m.securityCode));
    m_battery->setCurrentIndex(m.batteryType == 1 ? 1 : 0);
}

void CPropMca::Collect() {
    McaPageValues& m = m_env.model.mca;
    m.comPort = ToCore(m_port->currentText().trimmed());
    m.baudRate = ToCore(m_baud->currentText().trimmed());
    m.autoConnect = m_connect->isChecked();
    m.interval = ToCore(m_interval->text().trimmed());
    m.manual = m_manual->isChecked();
    m.securityCode = ToCore(m_code->text().trimmed());
    m.batteryType = m_battery->currentIndex();
}

} // namespace vorna
