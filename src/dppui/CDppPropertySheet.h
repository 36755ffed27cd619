#pragma once
// "DPP Properties": the six pages that edit the DPP configuration. Each page fills itself from
// the device image when its reload flag is set, marks itself modified on the first edit, and on
// apply writes its fields back; the last modified page sends and saves the configuration once
// for the whole sheet.

#include <QDialog>
#include <QTimer>
#include <array>

#include "dpp/DppConfigRecord.h"
#include "dpp/DppFieldConversions.h"
#include "dpp/DppSheetHost.h"
#include "dpp/DppSheetState.h"

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTreeWidget;

namespace vorna {

class DppNumberField;
class CDppPropertySheet;

class CPropDppPage : public QWidget {
    Q_OBJECT
public:
    CPropDppPage(DppPage id, CDppPropertySheet& sheet);

    DppPage id() const { return m_id; }
    bool modified() const { return m_modified; }
    // Fills the controls when the page's reload flag is set.
    void OnSetActive();
    // The shared apply: commit, write back, and the sheet's single send and save at the end.
    void OnApply();
    void MarkModified();

protected:
    // Controls from the device image.
    virtual void Fill() = 0;
    // Commits typed texts and writes the page's fields into the record.
    virtual void WriteBack(DppConfigRecord& record) = 0;
    // Pages whose apply may start the input offset retune.
    virtual bool RetuneAfterApply() const { return false; }

    DppSheetHost& host() const;
    DppSheetState& state() const;
    CDppPropertySheet& sheet() const { return m_sheet; }
    DppConfigRecord& record() const;
    int deviceType() const;
    DppFieldContext FieldContext() const;
    // A field of the table whose edits mark this page modified.
    DppNumberField* AddField(DppField id);
    DppNumberField* AddField(const DppFieldSpec& row);
    // Notifications while filling do not count as edits.
    void Watch(QComboBox* combo);
    void Watch(QLineEdit* edit);
    // A tuning button: note, message, close the sheet; the tuning runs and the sheet reopens.
    void StartTuning(MainMessage message, QPlainTextEdit* note);

    bool m_initialising = false;

private:
    DppPage m_id;
    CDppPropertySheet& m_sheet;
    bool m_modified = false;
};

class CPropDppGeneral : public CPropDppPage {
    Q_OBJECT
public:
    explicit CPropDppGeneral(CDppPropertySheet& sheet);
    QPlainTextEdit* messageField() const { return m_message; }
    QTreeWidget* bootTree() const { return m_bootTree; }
    QLineEdit* spectrumOffsetEdit() const { return m_offsetEdit; }
    QLineEdit* refreshEdit() const { return m_refresh; }
    // Chooses the boot option of `bit` (the group's choice for 1 or 0).
    void ChooseBootOption(int bit, bool set);

protected:
    void Fill() override;
    void WriteBack(DppConfigRecord& record) override;

private:
    void RunSource(DppConfigSource source);
    void ShowNoteAndReopen(const std::string& note);
    void ShowSpectrumOffset();
    uint16_t BootWordFromTree() const;
    bool OffsetEnabled() const;

    QComboBox* m_port;
    QLineEdit* m_refresh;
    QPlainTextEdit* m_message;
    QComboBox* m_detectors;
    QRadioButton* m_useHardware;
    QRadioButton* m_useSoftware;
    QTreeWidget* m_bootTree;
    QLineEdit* m_offsetEdit;
    QLabel* m_offsetChannels;
    QPushButton* m_refreshOffset;
    uint16_t m_bootWord = 0;
    bool m_offsetEdited = false;
};

class CPropDppAnalyzer : public CPropDppPage {
    Q_OBJECT
public:
    explicit CPropDppAnalyzer(CDppPropertySheet& sheet);
    DppNumberField* percentField() const { return m_percent; }
    QLineEdit* channelEdit() const { return m_channel; }
    QComboBox* presetCombo() const { return m_preset; }
    QComboBox* channelsCombo() const { return m_channels; }
    QComboBox* scaCombo() const { return m_scaSelect; }
    QLineEdit* scaLowerEdit() const { return m_scaLower; }
    QLineEdit* countEdit(int which) const { return m_count[static_cast<size_t>(which)]; }
    QLabel* gainScaleLabel() const { return m_gainScaleLabel; }
    QCheckBox* gainScaleCheck() const { return m_gainScale; }
    // Commits the preset count group edit `which` (0 low, 1 high, 2 count).
    void CommitCount(int which);
    void CommitChannel();
    void CommitScaLevels();

protected:
    void Fill() override;
    void WriteBack(DppConfigRecord& record) override;

private:
    int Channels() const;
    void ShowChannel();
    void ShowSca(int index);
    void StoreShownSca();
    void UpdateModeControls();
    uint32_t PresetValue() const;

    QComboBox* m_mode;
    QComboBox* m_timebase;
    QLabel* m_mcsNote;
    QComboBox* m_channels;
    QComboBox* m_gate;
    QComboBox* m_preset;
    DppNumberField* m_percent;
    QLineEdit* m_channel;
    QCheckBox* m_gainScale;
    QLabel* m_gainScaleLabel;
    QPlainTextEdit* m_note;
    std::array<QLineEdit*, 3> m_count{};
    QComboBox* m_scaSelect;
    QCheckBox* m_scaEnable;
    QLineEdit* m_scaLower;
    QLineEdit* m_scaUpper;
    QPushButton* m_updatePresetCount;
    std::array<uint32_t, 8> m_sca{};
    int m_shownSca = 0;
    uint32_t m_presetCount = 0;
};

class CPropDppShaping : public CPropDppPage {
    Q_OBJECT
public:
    explicit CPropDppShaping(CDppPropertySheet& sheet);
    QComboBox* peakingCombo() const { return m_peaking; }
    QComboBox* upCombo() const { return m_up; }
    QComboBox* blrCombo() const { return m_blrOn; }
    QLabel* gainScaleLabel() const { return m_gainScaleLabel; }
    int blr() const { return m_blr; }
    void SetBlr(int blr);

protected:
    void Fill() override;
    void WriteBack(DppConfigRecord& record) override;

private:
    void FillFlatTop(int selected);
    bool FastClock() const;

    QComboBox* m_peaking;
    QComboBox* m_flatTop;
    QComboBox* m_pur;
    QLabel* m_gainScaleLabel;
    DppNumberField* m_fast;
    QPushButton* m_tuneFast;
    QPlainTextEdit* m_note;
    QComboBox* m_rtd;
    DppNumberField* m_rtdSlow;
    DppNumberField* m_rtdFast;
    DppNumberField* m_blrSpin;
    QComboBox* m_down;
    QComboBox* m_up;
    QComboBox* m_blrOn;
    QList<QWidget*> m_blrControls;
    int m_rise = 1;
    int m_avg = 1;
    int m_blr = 63;
};

class CPropDppGainPZ : public CPropDppPage {
    Q_OBJECT
public:
    explicit CPropDppGainPZ(CDppPropertySheet& sheet);
    DppNumberField* coarseField() const { return m_coarse; }
    DppNumberField* fineField() const { return m_fine; }
    DppNumberField* inputOffsetField() const { return m_inputOffset; }
    QLineEdit* totalEdit() const { return m_total; }
    QComboBox* detResetCombo() const { return m_detReset; }

protected:
    void Fill() override;
    void WriteBack(DppConfigRecord& record) override;
    bool RetuneAfterApply() const override { return true; }

private:
    void CommitTotal();
    void ShowTotal();
    void UpdateOspreyNote();

    DppNumberField* m_coarse;
    DppNumberField* m_fine;
    QLineEdit* m_total;
    DppNumberField* m_poleZero;
    DppNumberField* m_inputOffset;
    QPlainTextEdit* m_note;
    QPushButton* m_tuneOffset;
    QComboBox* m_polarity;
    QComboBox* m_detReset;
    QPushButton* m_ospreyDefault;
    QLabel* m_ospreyNote;
    bool m_coarseTyped = false;
    bool m_totalGainCommitted = false;
};

class CPropDppPower : public CPropDppPage {
    Q_OBJECT
public:
    explicit CPropDppPower(CDppPropertySheet& sheet);
    QComboBox* hvCombo() const { return m_hvList; }
    DppNumberField* hvField() const { return m_hv; }
    QLabel* tecMonitor() const { return m_tecMonitor; }

protected:
    void Fill() override;
    void WriteBack(DppConfigRecord& record) override;
    bool RetuneAfterApply() const override { return true; }

private:
    void Monitor();

    DppNumberField* m_tec;
    QLabel* m_tecMonitor;
    QComboBox* m_hvList;
    DppNumberField* m_hv;
    QLabel* m_hvMonitor;
    QLabel* m_boardMonitor;
    QComboBox* m_preamp;
    QTimer m_monitorTimer;
};

class CPropDppMisc : public CPropDppPage {
    Q_OBJECT
public:
    explicit CPropDppMisc(CDppPropertySheet& sheet);
    QComboBox* analogOutCombo() const { return m_analogOut; }
    DppNumberField* offsetField() const { return m_offset; }
    QPushButton* scopeButton() const { return m_scope; }

protected:
    void Fill() override;
    void WriteBack(DppConfigRecord& record) override;
    bool RetuneAfterApply() const override { return true; }

private:
    void SendText();
    void ReadText();

    QComboBox* m_analogOut;
    DppNumberField* m_offset;
    QComboBox* m_aux;
    QComboBox* m_audio;
    QPushButton* m_scope;
    QCheckBox* m_showUpdates;
    QLineEdit* m_sendText;
    QPushButton* m_send;
    QLineEdit* m_readText;
    QPushButton* m_read;
};

class CDppPropertySheet : public QDialog {
    Q_OBJECT
public:
    CDppPropertySheet(DppSheetHost& host, DppSheetState& state, QWidget* parent = nullptr);

    DppSheetHost& host() const { return m_host; }
    DppSheetState& state() const { return m_state; }
    CPropDppPage* page(DppPage id) const { return m_pages[static_cast<size_t>(id)]; }
    QTabWidget* tabs() const { return m_tabs; }
    QPushButton* applyButton() const;
    void SetCurrentPage(DppPage id);
    // Applies every page in index order (OK and Apply).
    void ApplyAll();
    // A page edit: Apply becomes available.
    void PageModified();
    // The gain-scale label on the MCA and Shaping pages follows the profile flag.
    void ShowGainScale(bool on);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    DppSheetHost& m_host;
    DppSheetState& m_state;
    QTabWidget* m_tabs;
    QDialogButtonBox* m_buttons;
    std::array<CPropDppPage*, kDppPageCount> m_pages{};
};

// Analog output sources ("Fast Channel" .. "Test", "Off") and trigger sources ("ICR" ..
// "SCA8") as the Misc page and the oscilloscope list them.
QStringList AnalogOutChoices();
QStringList AuxOutChoices();
// The list entry of the analog output setting: "Off" when disabled, "Shaped Pulse" for a source
// outside 0..3.
int AnalogOutIndex(const DppConfigRecord& record);
void ApplyAnalogOutIndex(DppConfigRecord& record, int index);

// Builds the sheet, chooses its first page, marks every page for reload and runs it modally.
void OpenDppProperties(DppSheetHost& host, DppSheetState& state, QWidget* parent);
// The sheet while it is open, for the close message; nullptr otherwise.
CDppPropertySheet* OpenDppSheet();

} // namespace vorna
