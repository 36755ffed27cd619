#include "app/prefs/CProperties.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "app/DialogPositions.h"
#include "app/TextConvert.h"
#include "app/prefs/CPlotPanePage.h"
#include "app/prefs/CPropAnalysis.h"
#include "app/prefs/CPropGen.h"
#include "app/prefs/CPropMca.h"
#include "common/UserPrompt.h"
#include "settings/CSProfile.h"

namespace vorna {

CProperties::CProperties(CSProfile& profile, int deviceType, const McaLinkState& link,
                         UserPrompt& prompt, PreferencesPage start, PreferencesHooks hooks,
                         QWidget* parent)
    : QDialog(parent), m_model(profile, deviceType, link), m_env{m_model, profile, prompt,
                                                                 deviceType, hooks.coloursChanged},
      m_hooks(std::move(hooks)), m_link(link), m_tabs(new QTabWidget), m_defaults(new QPushButton) {
    setWindowTitle(QStringLiteral("Review or Modify Preferences"));
    m_pages = {new CPropGen(m_env), new CPropMca(m_env, link), new CPropAnalysis(m_env),
               new CPlotPanePage(m_env)};
    for (PreferencesPageWidget* page : m_pages)
        m_tabs->addTab(page, FromCore(DescribePage(page->Page(), deviceType).title));
    // The colour presets also change the Plot page's background colour button.
    m_env.coloursChanged = [this] {
        PreferencesPageWidget* plot = m_pages[static_cast<size_t>(PreferencesPage::Plot)];
        plot->Collect();
        plot->Load();
        if (m_hooks.coloursChanged)
            m_hooks.coloursChanged();
    };

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                                         QDialogButtonBox::Apply);
    // The Defaults button of the active page sits at the left of the button row, a little wider
    // than OK so its longest caption fits.
    const int okWidth = buttons->button(QDialogButtonBox::Ok)->sizeHint().width();
    m_defaults->setMinimumWidth(std::max(
        okWidth + 20,
        m_defaults->fontMetrics().horizontalAdvance(QStringLiteral("Defaults - Analysis")) + 24));
    m_defaults->setAutoDefault(false);
    auto* row = new QHBoxLayout;
    row->addWidget(m_defaults);
    row->addStretch(1);
    row->addWidget(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addLayout(row);

    connect(buttons, &QDialogButtonBox::accepted, this, &CProperties::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CProperties::reject);
    connect(buttons->button(QDialogButtonBox::Apply), &QPushButton::clicked, this,
            [this] { ApplyNow(); });
    connect(m_defaults, &QPushButton::clicked, this, &CProperties::PressDefaults);
    m_tabs->setCurrentIndex(static_cast<int>(start));
    connect(m_tabs, &QTabWidget::currentChanged, this, &CProperties::PageChanged);
    PageChanged(m_tabs->currentIndex());
    RestoreDialogPosition(*this, profile, ProfileDialog::UserPrefsDlg);
}

PreferencesPageWidget* CProperties::Current() const {
    return m_pages[static_cast<size_t>(std::max(0, m_tabs->currentIndex()))];
}

void CProperties::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (Current()->Page() == PreferencesPage::Mca)
        QTimer::singleShot(0, this, [this] { PageChanged(m_tabs->currentIndex()); });
}

void CProperties::PageChanged(int index) {
    const PageDescription d =
        DescribePage(m_pages[static_cast<size_t>(index)]->Page(), m_env.deviceType);
    m_defaults->setText(FromCore(d.defaultsCaption));
    m_defaults->setEnabled(d.defaultsEnabled);
    // The MCA page says once, when it is first shown, why some of its fields are disabled.
    if (m_pages[static_cast<size_t>(index)]->Page() != PreferencesPage::Mca || m_mcaOpened ||
        !isVisible())
        return;
    m_mcaOpened = true;
    const std::string message = McaOpeningMessage(m_env.deviceType, m_link);
    if (!message.empty())
        m_env.prompt.message(message, PromptStyle::Warning);
}

void CProperties::PressDefaults() {
    PreferencesPageWidget* page = Current();
    const std::string text = m_model.PressDefaults(page->Page());
    if (text.empty())
        return;
    page->Load();
    if (m_hooks.status)
        m_hooks.status(text);
}

bool CProperties::ApplyNow() {
    for (PreferencesPageWidget* page : m_pages)
        page->Collect();
    const ApplyOutcome outcome = m_model.Apply(m_env.profile, m_env.prompt);
    if (!outcome.applied)
        return false;
    if (m_hooks.applied)
        m_hooks.applied(outcome);
    return true;
}

void CProperties::accept() {
    if (!ApplyNow())
        return;
    StoreDialogPosition(*this, m_env.profile, ProfileDialog::UserPrefsDlg);
    QDialog::accept();
}

void CProperties::reject() {
    StoreDialogPosition(*this, m_env.profile, ProfileDialog::UserPrefsDlg);
    if (m_hooks.status)
        m_hooks.status({});
    QDialog::reject();
}

} // namespace vorna
