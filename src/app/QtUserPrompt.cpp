#include "app/QtUserPrompt.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QStringList>
#include <QThread>
#include <QtGlobal>

#include "app/TextConvert.h"

namespace vorna {

namespace {
const QString kTitle = QStringLiteral("VORNA");
}

bool QtUserPrompt::Refused(const std::string& what) {
    if (QThread::currentThread() == qApp->thread())
        return false;
    // A window built on a worker thread crashes or deadlocks the program sooner or later; the
    // worker must post instead.
    qCritical("VORNA: a worker thread asked for a window (%s); refused", what.c_str());
    Q_ASSERT_X(false, "QtUserPrompt", "called from a thread other than the UI thread");
    return true;
}

void QtUserPrompt::message(const std::string& text, PromptStyle style) {
    captionedMessage(kTitle.toStdString(), text, style);
}

void QtUserPrompt::captionedMessage(const std::string& caption, const std::string& text,
                                    PromptStyle style) {
    if (Refused(text))
        return;
    QMessageBox box(style == PromptStyle::Information ? QMessageBox::Information
                    : style == PromptStyle::Error     ? QMessageBox::Critical
                                                      : QMessageBox::Warning,
                    FromCore(caption), FromCore(text), QMessageBox::Ok, m_parent);
    box.exec();
}

PromptAnswer QtUserPrompt::question(const std::string& text, bool withCancel) {
    if (Refused(text))
        return withCancel ? PromptAnswer::Cancel : PromptAnswer::No;
    auto buttons = QMessageBox::Yes | QMessageBox::No;
    if (withCancel)
        buttons |= QMessageBox::Cancel;
    QMessageBox box(QMessageBox::Question, kTitle, FromCore(text), buttons, m_parent);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return PromptAnswer::Yes;
    case QMessageBox::No:
        return PromptAnswer::No;
    default:
        return withCancel ? PromptAnswer::Cancel : PromptAnswer::No;
    }
}

QString QtUserPrompt::QtFilter(const std::string& coreFilter) {
    const QStringList parts = QString::fromStdString(coreFilter).split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break;
        // Qt reads the patterns from the parentheses of the description.
        QString name = parts[i];
        if (!name.contains(QLatin1Char('(')))
            name += QStringLiteral(" (") + QString(parts[i + 1]).replace(';', ' ') + ')';
        filters << name;
    }
    return filters.join(QStringLiteral(";;"));
}

bool QtUserPrompt::chooseSaveFile(std::string& path, const std::string& defaultExtension,
                                  const std::string& filter) {
    if (Refused("Save As"))
        return false;
    QFileDialog dialog(m_parent, QStringLiteral("Save As"), PathFromCore(path), QtFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QString::fromStdString(defaultExtension));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (!path.empty())
        dialog.selectFile(PathFromCore(path));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    path = PathToCore(dialog.selectedFiles().front());
    return true;
}

std::optional<int> QtUserPrompt::askNumber(const std::string& title, int minimum, int maximum,
                                           int initial) {
    if (Refused(title))
        return std::nullopt;
    bool ok = false;
    const int value = QInputDialog::getInt(m_parent, FromCore(title), QString(), initial, minimum,
                                           maximum, 1, &ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

bool QtUserPrompt::chooseOpenFile(std::string& path, const std::string& title,
                                  const std::string& initialDirectory, const std::string& filter) {
    if (Refused(title))
        return false;
    QFileDialog dialog(m_parent, QString::fromStdString(title), PathFromCore(initialDirectory),
                       QtFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    path = PathToCore(dialog.selectedFiles().front());
    return true;
}

void QtUserPrompt::status(int pane, const std::string& text) {
    if (Refused(text))
        return;
    if (m_status)
        m_status(pane, text);
}

} // namespace vorna
