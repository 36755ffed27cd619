#include "app/AboutDialog.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include "app/TextConvert.h"
#include "app/ToolbarIcons.h"
#include "appcore/ProgramState.h"
#include "appcore/VersionText.h"

namespace vorna {

namespace {
// The companion files whose versions the box lists, looked up in the program's folder.
constexpr const char* kFpLibrary = "ElemixFP.dll";
constexpr const char* kSpLibrary = "ElemixSP.dll";
constexpr const char* kElemix = "Elemix.Exe";
constexpr const char* kFlare = "FlareCtrl.exe";

QString Version(const QString& dir, const char* file) {
    return QString::fromStdString(FileProductVersion(PathToCore(dir + '/' + file)));
}
} // namespace

QStringList AboutDialog::InfoLines(ProgramState& state, const QString& dir) {
    QStringList lines;
    if (state.Profile().deviceType == 0)
        lines << QStringLiteral("KestrelA");
    // The running companion's own word, once it has told it, over the file's version.
    const std::string& told = state.Companion().version;
    lines << QStringLiteral("FP DLL Version:  %1")
                 .arg(told.empty() ? Version(dir, kFpLibrary) : FromCore(told))
          << QStringLiteral("SP DLL Version:  %1").arg(Version(dir, kSpLibrary))
          << QStringLiteral("Elemix Version:  %1").arg(Version(dir, kElemix));
    if (QFileInfo::exists(dir + '/' + kFlare))
        lines << QStringLiteral("Flare Version:  %1").arg(Version(dir, kFlare));
    return lines;
}

AboutDialog::AboutDialog(ProgramState& state, QWidget* parent) : QDialog(parent) {
    setObjectName("AboutDialog");
    setWindowTitle(QStringLiteral("About VORNA"));
    auto* layout = new QVBoxLayout(this);
    auto* icon = new QLabel(this);
    icon->setPixmap(ProgramIcon().pixmap(32, 32));
    layout->addWidget(icon);
    layout->addWidget(new QLabel(QStringLiteral("VORNA spectrum acquisition and analysis"), this));
    layout->addWidget(new QLabel(QStringLiteral("Version %1").arg(VORNA_VERSION_TEXT), this));
    layout->addWidget(new QLabel(QStringLiteral("Apr 16 2013  12:23:29"), this));
    auto* list = new QListWidget(this);
    list->setObjectName("AboutList");
    list->addItems(InfoLines(state, QCoreApplication::applicationDirPath()));
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

} // namespace vorna
