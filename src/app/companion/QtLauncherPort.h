#pragma once
// The desktop side of the companion launcher: the session bus finds and raises a running
// companion, QProcess starts one, message boxes and the locate dialog talk to the user.

#include <QDBusConnection>
#include <QString>

#include "external/CompanionLauncher.h"

class QWidget;

namespace vorna {

class QtUserPrompt;

class QtLauncherPort : public LauncherPort {
public:
    QtLauncherPort(QtUserPrompt& prompt, QWidget* parent, QString programDir, QDBusConnection bus);

    bool IsRunning(const CompanionProgram& program) override;
    void Raise(const CompanionProgram& program) override;
    bool AskYes(const std::string& question) override;
    std::optional<LaunchError> StartByName(const CompanionProgram& program) override;
    std::optional<LaunchError> StartPath(const std::string& path) override;
    void ShowError(const std::string& text) override;
    std::optional<std::string> Locate(const std::string& title,
                                      const std::string& errorText) override;
    std::string WorkingDirectory() override;
    void SetWorkingDirectory(const std::string& directory) override;

    // What a start of the file would meet, looked up on the file system.
    static LaunchFileFacts FactsOf(const QString& path);

private:
    QtUserPrompt& m_prompt;
    QWidget* m_parent;
    QString m_programDir;
    QDBusConnection m_bus;
};

} // namespace vorna
