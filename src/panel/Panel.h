#pragma once
// Every control of the main window's panel and of the connection frame, under the names the rest
// of the program (and the tests, through objectName) uses. Built by buildPanel().
#include <QString>
#include <array>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTabWidget;
class QWidget;
class NumericBox;
class UpDownButtons;
class CaptionLabel;
class CaptionPanel;

// The number of numeric boxes: the rows of the box table.
inline constexpr size_t BoxCount = 20;

struct Panel {
    // Groups: Frame1(0) main, (1) sweep, (2) modulation; pages Frame1(3) trigger, (4) burst,
    // (5) gate and Frame2 external counter inside SSTabTrigger.
    std::array<QWidget*, 6> Frame1{};
    QWidget* Frame2 = nullptr;
    QTabWidget* SSTabTrigger = nullptr;

    // Main setting
    NumericBox* txtMainFreq = nullptr;
    NumericBox* txtMainAmp = nullptr;
    NumericBox* txtMainDCOffset = nullptr;
    NumericBox* txtMainDuty = nullptr;
    std::array<QRadioButton*, 3> optMainFunc{}; // Sine, Triangle, Square

    // Sweep
    NumericBox* txtSweepStartFreq = nullptr;
    NumericBox* txtSweepStopFreq = nullptr;
    NumericBox* txtSweepCenterFreq = nullptr;
    NumericBox* txtSweepSpan = nullptr;
    NumericBox* txtSweepRate = nullptr;
    NumericBox* txtSweepSymmetry = nullptr;
    std::array<QRadioButton*, 2> optSweep{};      // On, Off
    std::array<QRadioButton*, 2> optSweepModel{}; // Lin, Log
    QScrollBar* HScrollSweep = nullptr;           // segment 1..8, starts at 5
    QLabel* lblSweepSegNo = nullptr;

    // Modulation
    NumericBox* txtModRate = nullptr;
    NumericBox* txtModSpanDepth = nullptr;
    NumericBox* txtModSymmetry = nullptr;
    std::array<QRadioButton*, 2> optModulation{}; // On, Off
    QRadioButton* optModAM = nullptr;
    QRadioButton* optModFM = nullptr;
    std::array<QRadioButton*, 4> optModSource{}; // Sine, Triangle, Square, Ext

    // Trigger
    NumericBox* txtTrgRate = nullptr;
    NumericBox* txtTrgSymmetry = nullptr;
    NumericBox* txtTrgPhase = nullptr;
    std::array<QRadioButton*, 2> optTrigger{};     // On, Off
    std::array<QRadioButton*, 2> optTriggerType{}; // Single, Multi
    QRadioButton* optTriggerInt = nullptr;
    QRadioButton* optTriggerExt = nullptr;

    // Burst
    NumericBox* txtBurstPeriod = nullptr;
    NumericBox* txtBurstCount = nullptr;
    std::array<QRadioButton*, 2> optBurst{}; // On, Off
    QRadioButton* optBurstInt = nullptr;
    QRadioButton* optBurstExt = nullptr;
    QScrollBar* HScroll1 = nullptr; // count fine tuning 10..90, starts at 10
    QLabel* lblSymmetry = nullptr;
    QLabel* lblBurstPeriodSec = nullptr;

    // Gate
    NumericBox* txtGatePeriod = nullptr;
    NumericBox* txtOpenGatePeriod = nullptr;
    std::array<QRadioButton*, 2> optGate{}; // On, Off
    QRadioButton* optGateInt = nullptr;
    QRadioButton* optGateExt = nullptr;
    QLabel* lblGatePeriod = nullptr;
    QLabel* lblOpenGatePeriod = nullptr;

    // External counter
    std::array<QRadioButton*, 2> optExternal{};    // On, Off
    std::array<QRadioButton*, 4> optGateTimeExt{}; // 0.01S, 0.1S, 1S, 10S

    // Caption labels (help passages) and caption panels of the option groups
    std::array<CaptionLabel*, 27> Label1{};
    std::array<CaptionPanel*, 11> SSPanel1{};

    // The steps of a send under way, beside the message line (hidden otherwise).
    QProgressBar* sendProgress = nullptr;

    // Connection frame (hidden until the Setting menu)
    QFrame* fraComm = nullptr;
    QLabel* Label5 = nullptr;
    QRadioButton* Option1 = nullptr; // RS232
    QRadioButton* Option2 = nullptr; // GPIB (never shown)
    QComboBox* cboComPort = nullptr;
    QLabel* Label6 = nullptr;
    QComboBox* cboBuadRate = nullptr;
    QLabel* Label9 = nullptr;
    QLineEdit* txtGPIBAddr = nullptr;
    QLabel* Label7 = nullptr;
    QLineEdit* txtCycleTime = nullptr;
    UpDownButtons* UpDown1 = nullptr;
    QCheckBox* chkSkipCommand = nullptr;
    QCheckBox* chkSyncRateSym = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* cmdTestConnect = nullptr;
    QPushButton* cmdHelp = nullptr;

    // Every numeric box, in the box table's order.
    std::array<NumericBox*, BoxCount> boxes() const;
};
