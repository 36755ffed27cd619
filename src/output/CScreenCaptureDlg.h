#pragma once
// "Capture Preview": the last window capture in a scrolling view, with "Save..." to keep a copy
// of it under a name of the user's choice and "Close".

#include <QDialog>
#include <string>

class QPushButton;

namespace vorna {

class CBitmapCtrl;

class CScreenCaptureDlg : public QDialog {
    Q_OBJECT
public:
    // `path`: the capture shown; `spectraDirectory`: where "Save..." starts when it holds files.
    CScreenCaptureDlg(const QString& path, const std::string& spectraDirectory,
                      QWidget* parent = nullptr);

    CBitmapCtrl* View() const { return m_view; }
    QPushButton* SaveButton() const { return m_save; }
    // "Save...": the save dialog, then SaveTo.
    void Save();
    // Copies the capture to `target`, replacing a file there; false after telling the user why.
    bool SaveTo(const QString& target);

private:
    QString m_path;
    std::string m_spectraDirectory;
    CBitmapCtrl* m_view;
    QPushButton* m_save;
};

} // namespace vorna
