#include "app/HelpWindow.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace vorna {

QString HelpWindow::ManualPath() {
    const QString beside = QCoreApplication::applicationDirPath() + "/manual/index.html";
    if (QFileInfo::exists(beside))
        return beside;
    return QStringLiteral(VORNA_SOURCE_DIR "/docs/manual/index.html");
}

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent, Qt::Window) {
    setObjectName("HelpWindow");
    setWindowTitle(QStringLiteral("VORNA Help"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_browser = new QTextBrowser(this);
    m_browser->setOpenExternalLinks(true);
    m_browser->setSource(QUrl::fromLocalFile(ManualPath()));
    layout->addWidget(m_browser);
    resize(720, 640);
}

} // namespace vorna
