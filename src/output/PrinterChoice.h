#pragma once
// The printer, paper and orientation the user chose last: every print dialog of the run starts
// from it, and confirming a dialog replaces it. It is not kept beyond the run. One choice serves
// the whole program: it hangs off the main window, found from any window of the program.

#include <QObject>
#include <QPageLayout>
#include <QPrinter>
#include <functional>
#include <memory>

class QWidget;

namespace vorna {

class PrinterChoice : public QObject {
    Q_OBJECT
public:
    // Shows a print dialog over `parent` for `printer`; true when the user confirmed it.
    using DialogRunner = std::function<bool(QPrinter& printer, QWidget* parent)>;

    explicit PrinterChoice(QObject* parent = nullptr);

    // The program's choice, from any of its windows.
    static PrinterChoice& For(QWidget* window);

    // The print dialog on a copy of the choice; the confirmed printer, or null when cancelled.
    std::unique_ptr<QPrinter> Choose(QWidget* parent);
    // A printer set up as the choice stands (the system's default before any choice).
    std::unique_ptr<QPrinter> Current() const;
    bool HasChoice() const { return m_kept; }

    // Tests answer the dialog themselves.
    void SetDialogRunner(DialogRunner runner) { m_runner = std::move(runner); }

private:
    void Keep(const QPrinter& printer);
    void ApplyTo(QPrinter& printer) const;

    DialogRunner m_runner;
    bool m_kept = false;
    QPrinter::OutputFormat m_format = QPrinter::NativeFormat;
    QString m_printerName;
    QString m_outputFile;
    QPageLayout m_layout;
    int m_copies = 1;
    QPrinter::ColorMode m_colour = QPrinter::Color;
    QPrinter::DuplexMode m_duplex = QPrinter::DuplexNone;
};

// The standard print dialog: no page ranges, no selection.
bool RunPrintDialog(QPrinter& printer, QWidget* parent);

} // namespace vorna
