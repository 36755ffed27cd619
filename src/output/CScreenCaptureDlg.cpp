#include "output/CScreenCaptureDlg.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/AtomicFile.h"
#include "output/CBitmapCtrl.h"
#include "output/core/OutputTexts.h"

namespace vorna {

namespace {

// Dialog units of the dialog font: a quarter of the average character width across, an eighth
// of the character height down.
QSize DialogUnits(const QWidget& w, int x, int y) {
    const QFontMetrics fm = w.fontMetrics();
    return QSize(x * fm.averageCharWidth() / 4, y * fm.height() / 8);
}

} // namespace

CScreenCaptureDlg::CScreenCaptureDlg(const QString& path, const std::string& spectraDirectory,
                                     QWidget* parent)
    : QDialog(parent), m_path(path), m_spectraDirectory(spectraDirectory) {
    setObjectName("CaptureDialog");
    setWindowTitle(QStringLiteral("Capture Preview"));
    setModal(true);
    setSizeGripEnabled(true);
    auto* layout = new QVBoxLayout(this);
    auto* buttons = new QHBoxLayout;
    m_save = new QPushButton(QStringLiteral("Save..."), this);
    m_save->setObjectName("1219");
    m_save->setToolTip(QString::fromLatin1(kSaveBitmapTip));
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName("CloseButton");
    buttons->addWidget(m_save);
    buttons->addWidget(close);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    layout->addWidget(rule);
    m_view = new CBitmapCtrl(this);
    m_view->setMinimumSize(DialogUnits(*this, 480, 280));
    layout->addWidget(m_view, 1);
    connect(m_save, &QPushButton::clicked, this, &CScreenCaptureDlg::Save);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    if (!path.isEmpty())
        m_view->Load(path);
    resize(DialogUnits(*this, 492, 316).expandedTo(sizeHint()));
}

void CScreenCaptureDlg::Save() {
    const std::string folder = SaveBitmapStartFolder(
        m_spectraDirectory,
        !m_spectraDirectory.empty() && !QDir(QFile::decodeName(m_spectraDirectory.c_str()))
                                            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot)
                                            .isEmpty());
    QFileDialog dialog(this, QString::fromLatin1(kSaveBitmapTitle),
                       QFile::decodeName(folder.c_str()),
                       QStringLiteral("Windows Bitmap (*.bmp);;All Files (*.*)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("bmp"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    SaveTo(dialog.selectedFiles().front());
}

bool CScreenCaptureDlg::SaveTo(const QString& target) {
    std::string bytes;
    if (!QFile::exists(m_path) ||
        !ReadWholeFile(QFile::encodeName(m_path).toStdString(), bytes).ok) {
        QMessageBox::warning(this, windowTitle(), QString::fromLatin1(kCaptureMissingText));
        return false;
    }
    // The copy goes through a temporary file beside the target: a failure leaves what was there.
    if (!WriteFileAtomically(QFile::encodeName(target).toStdString(), bytes).ok) {
        QMessageBox::warning(
            this, windowTitle(),
            QString::fromStdString(SaveBitmapFailedText(QFile::encodeName(target).toStdString())));
        return false;
    }
    return true;
}

} // namespace vorna
