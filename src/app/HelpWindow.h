#pragma once
// The user guide shipped with the program, shown in a browser window.

#include <QDialog>

class QTextBrowser;

namespace vorna {

class HelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent);
    QTextBrowser* Browser() const { return m_browser; }
    // Where the guide is: beside the program, else in the source tree it was built from.
    static QString ManualPath();

private:
    QTextBrowser* m_browser;
};

} // namespace vorna
