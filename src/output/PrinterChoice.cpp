#include "output/PrinterChoice.h"

#include <QPrintDialog>
#include <QWidget>

namespace vorna {

PrinterChoice::PrinterChoice(QObject* parent) : QObject(parent), m_runner(RunPrintDialog) {
    setObjectName("PrinterChoice");
}

PrinterChoice& PrinterChoice::For(QWidget* window) {
    QObject* top = window;
    while (top && top->parent())
        top = top->parent();
    static PrinterChoice orphan; // only for a window outside any program window
    if (!top)
        return orphan;
    if (auto* existing =
            top->findChild<PrinterChoice*>("PrinterChoice", Qt::FindDirectChildrenOnly))
        return *existing;
    return *new PrinterChoice(top);
}

bool RunPrintDialog(QPrinter& printer, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    // Printing to a PDF file stays available: on many systems it is the only printer.
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    return dialog.exec() == QDialog::Accepted;
}

std::unique_ptr<QPrinter> PrinterChoice::Current() const {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (m_kept)
        ApplyTo(*printer);
    return printer;
}

std::unique_ptr<QPrinter> PrinterChoice::Choose(QWidget* parent) {
    std::unique_ptr<QPrinter> printer = Current();
    if (!m_runner(*printer, parent))
        return nullptr;
    Keep(*printer);
    return printer;
}

void PrinterChoice::Keep(const QPrinter& printer) {
    m_kept = true;
    m_format = printer.outputFormat();
    m_printerName = printer.printerName();
    m_outputFile = printer.outputFileName();
    m_layout = printer.pageLayout();
    m_copies = printer.copyCount();
    m_colour = printer.colorMode();
    m_duplex = printer.duplex();
}

void PrinterChoice::ApplyTo(QPrinter& printer) const {
    if (m_format == QPrinter::PdfFormat) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_outputFile);
    } else {
        printer.setPrinterName(m_printerName);
    }
    printer.setPageLayout(m_layout);
    printer.setCopyCount(m_copies);
    printer.setColorMode(m_colour);
    printer.setDuplex(m_duplex);
}

} // namespace vorna
