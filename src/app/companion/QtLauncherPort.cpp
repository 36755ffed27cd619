#include "app/companion/QtLauncherPort.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QVariantMap>

#include "app/QtUserPrompt.h"
#include "app/TextConvert.h"
#include "app/companion/CFileBrowseDlg.h"

namespace vorna {

QtLauncherPort::QtLauncherPort(QtUserPrompt& prompt, QWidget* parent, QString programDir,
                               QDBusConnection bus)
    : m_prompt(prompt), m_parent(parent), m_programDir(std::move(programDir)),
      m_bus(std::move(bus)) {}

bool QtLauncherPort::IsRunning(const CompanionProgram& program) {
    QDBusConnectionInterface* bus = m_bus.isConnected() ? m_bus.interface() : nullptr;
    return bus && bus->isServiceRegistered(QString::fromStdString(program.busName)).value();
}

void QtLauncherPort::Raise(const CompanionProgram& program) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QString::fromStdString(program.busName),
        QString::fromStdString(ApplicationObjectPath(program.busName)),
        QStringLiteral("org.freedesktop.Application"), QStringLiteral("Activate"));
    call << QVariantMap(); // no platform data
    call.setAutoStartService(false);
    m_bus.send(call);
}

bool QtLauncherPort::AskYes(const std::string& question) {
    return m_prompt.question(question, false) == PromptAnswer::Yes;
}

std::optional<LaunchError> QtLauncherPort::StartByName(const CompanionProgram& program) {
    QStringList folders;
    if (!m_programDir.isEmpty())
        folders << m_programDir;
    folders << qEnvironmentVariable("PATH").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString& folder : folders)
        for (const std::string& name : ExecutableNames(program)) {
            const QString path = QDir(folder).filePath(QString::fromStdString(name));
            if (QFileInfo(path).isFile())
                return StartPath(PathToCore(path));
        }
    return LaunchError::FileNotFound;
}

LaunchFileFacts QtLauncherPort::FactsOf(const QString& path) {
    const QFileInfo info(path);
    LaunchFileFacts f;
    f.folderExists = info.absoluteDir().exists();
    f.exists = info.exists();
    f.regularFile = info.isFile();
    f.executable = info.isExecutable();
    QFile file(path);
    if (f.regularFile && file.open(QIODevice::ReadOnly)) {
        const QByteArray head = file.read(4);
        f.knownFormat = head.startsWith("\x7f"
                                        "ELF") ||
                        head.startsWith("#!");
    }
    return f;
}

std::optional<LaunchError> QtLauncherPort::StartPath(const std::string& path) {
    const QString program = PathFromCore(path);
    if (const std::optional<LaunchError> error = LaunchErrorForFile(FactsOf(program)))
        return error;
    QProcess process;
    process.setProgram(program);
    process.setWorkingDirectory(QFileInfo(program).absolutePath());
    if (process.startDetached())
        return std::nullopt;
    return LaunchErrorFromMessage(process.errorString().toStdString());
}

void QtLauncherPort::ShowError(const std::string& text) {
    m_prompt.message(text, PromptStyle::Error);
}

std::optional<std::string> QtLauncherPort::Locate(const std::string& title,
                                                  const std::string& errorText) {
    CFileBrowseDlg dialog(QString::fromStdString(title), QString::fromStdString(errorText),
                          m_parent);
    if (dialog.exec() != QDialog::Accepted || dialog.LocatedPath().isEmpty())
        return std::nullopt;
    return PathToCore(dialog.LocatedPath());
}

std::string QtLauncherPort::WorkingDirectory() {
    return PathToCore(QDir::currentPath());
}

void QtLauncherPort::SetWorkingDirectory(const std::string& directory) {
    QDir::setCurrent(PathFromCore(directory));
}

} // namespace vorna
