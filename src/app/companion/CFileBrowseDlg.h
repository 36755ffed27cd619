#pragma once
// The locate dialog of the launcher: a read-only line with the reason or the located file, a
// "Browse..." button, OK and Cancel.

#include <QDialog>
#include <QString>

class QLineEdit;

namespace vorna {

class CFileBrowseDlg : public QDialog {
    Q_OBJECT
public:
    CFileBrowseDlg(const QString& title, const QString& text, QWidget* parent = nullptr);

    // The path kept: the last chosen file that exists, else empty.
    QString LocatedPath() const { return m_path; }
    // What "Browse..." does with the file the open dialog returned.
    void TakeChosenFile(const QString& path);
    QString Text() const;

private:
    void Browse();

    QString m_title;
    QString m_path;
    QLineEdit* m_text = nullptr;
};

} // namespace vorna
