#include "app/companion/CFileBrowseDlg.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/QtUserPrompt.h"
#include "external/CompanionLauncher.h"

namespace vorna {

CFileBrowseDlg::CFileBrowseDlg(const QString& title, const QString& text, QWidget* parent)
    : QDialog(parent), m_title(title) {
    setObjectName("CFileBrowseDlg");
    setWindowTitle(title.isEmpty() ? QStringLiteral("File Browse") : title);
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    m_text = new QLineEdit(text, this);
    m_text->setObjectName("located");
    m_text->setReadOnly(true);
    m_text->setMinimumWidth(m_text->fontMetrics().averageCharWidth() * 50);
    auto* browse = new QPushButton(QStringLiteral("Browse..."), this);
    browse->setObjectName("browse");
    row->addWidget(m_text, 1);
    row->addWidget(browse);
    layout->addLayout(row);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(browse, &QPushButton::clicked, this, [this] { Browse(); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

QString CFileBrowseDlg::Text() const {
    return m_text->text();
}

void CFileBrowseDlg::Browse() {
    const QString title = m_title.isEmpty() ? QStringLiteral("Browse") : m_title;
    TakeChosenFile(QFileDialog::getOpenFileName(this, title, QString(),
                                                QtUserPrompt::QtFilter(kLocateFilter)));
}

void CFileBrowseDlg::TakeChosenFile(const QString& path) {
    if (!path.isEmpty() && QFileInfo::exists(path)) {
        m_path = path;
        m_text->setText(QString::fromLatin1(kFileLocatedPrefix) + path);
    } else {
        m_path.clear();
    }
}

} // namespace vorna
