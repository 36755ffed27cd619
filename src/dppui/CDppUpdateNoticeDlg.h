#pragma once
// "Update DPP Notice": tells the user at startup that a Plover's firmware or FPGA is too old.
// The texts and the up-to-date verdict come from MakeUpdateNotice; the dialog shows them and
// collects the "don't show again" tick.

#include <QDialog>
#include <cstdint>
#include <string>

#include "dpp/DppUpdateNotice.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;

namespace vorna {

struct DppUpdateNoticeInput {
    std::string programLines; // description, version and legal line, each ending in CR LF
    uint32_t serialNumber = 0;
    uint8_t firmwareByte = 0;
    uint8_t fpgaByte = 0;
    int deviceType = 0; // DppDeviceType number
    bool liveSpectrumActive = false;
    bool showAtStartup = true; // the profile value the check box edits (ticked = false)
    // Where the link line points: the page that says how to update the device (the user
    // guide's section on it). No link line when empty.
    std::string updateInfoUrl;
};

class CDppUpdateNoticeDlg : public QDialog {
    Q_OBJECT
public:
    explicit CDppUpdateNoticeDlg(const DppUpdateNoticeInput& input, QWidget* parent = nullptr);

    // Nothing to tell: both versions are current, the device is no Plover, or the live spectrum
    // is not the active one. exec() then returns Accepted without showing anything.
    bool closesAtOnce() const { return m_closesAtOnce; }
    int exec() override;

    // The profile value after the dialog: false when "don't show again" is ticked.
    bool showAtStartup() const;

    const DppUpdateNotice& notice() const { return m_notice; }
    QLabel* headlineLabel() const { return m_headline; }
    QPlainTextEdit* textBox() const { return m_text; }
    QCheckBox* dontShowBox() const { return m_dontShow; }

private:
    DppUpdateNotice m_notice;
    bool m_closesAtOnce = false;
    QLabel* m_headline = nullptr;
    QPlainTextEdit* m_text = nullptr;
    QCheckBox* m_dontShow = nullptr;
};

} // namespace vorna
