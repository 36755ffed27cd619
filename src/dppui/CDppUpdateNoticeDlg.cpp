#include "dppui/CDppUpdateNoticeDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "common/Text.h"
#include "dpp/DppTypes.h"

namespace vorna {
namespace {

// Core texts are Windows-1252 with CR LF line ends; Qt wants UTF-16 and bare line feeds.
QString DisplayText(const std::string& core) {
    QString text = QString::fromStdString(Cp1252ToUtf8(core));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

QLabel* LinkLine(const std::string& url, QWidget* parent) {
    auto* link = new QLabel(QStringLiteral("<a href=\"%1\">How to update the firmware and FPGA</a>")
                                .arg(QString::fromStdString(url).toHtmlEscaped()),
                            parent);
    link->setTextFormat(Qt::RichText);
    link->setOpenExternalLinks(true);
    link->setObjectName(QStringLiteral("link"));
    return link;
}

} // namespace

CDppUpdateNoticeDlg::CDppUpdateNoticeDlg(const DppUpdateNoticeInput& input, QWidget* parent)
    : QDialog(parent), m_notice(MakeUpdateNotice(input.programLines, input.serialNumber,
                                                 input.firmwareByte, input.fpgaByte)) {
    m_closesAtOnce = m_notice.upToDate ||
                     input.deviceType != static_cast<int>(DppDeviceType::Plover) ||
                     !input.liveSpectrumActive;
    setWindowTitle(QStringLiteral("Update DPP Notice"));
    auto* layout = new QVBoxLayout(this);
    m_headline = new QLabel(DisplayText(m_notice.headline), this);
    QFont bold = m_headline->font();
    bold.setBold(true);
    m_headline->setFont(bold);
    layout->addWidget(m_headline);

    m_text = new QPlainTextEdit(DisplayText(m_notice.text), this);
    m_text->setReadOnly(true);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_text->setMinimumSize(420, 180);
    layout->addWidget(m_text);

    m_dontShow = new QCheckBox(QString::fromLatin1(kUpdateNoticeCheckBox), this);
    m_dontShow->setChecked(!input.showAtStartup);
    layout->addWidget(m_dontShow);
    if (!input.updateInfoUrl.empty())
        layout->addWidget(LinkLine(input.updateInfoUrl, this));

    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(box);
}

int CDppUpdateNoticeDlg::exec() {
    if (m_closesAtOnce) {
        setResult(QDialog::Accepted);
        return QDialog::Accepted;
    }
    return QDialog::exec();
}

bool CDppUpdateNoticeDlg::showAtStartup() const {
    return !m_dontShow->isChecked();
}

} // namespace vorna
