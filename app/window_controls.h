#pragma once

#include "meter/profile.h"

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QToolButton;
class QWidget;

namespace kx::app {

struct WindowLayout;

// The window's own controls, made with their names, captions, hints and looks; the components
// (LCD, gauge, limits, grid, chart) make theirs. Places come from the layout afterwards.
struct WindowControls {
    std::array<QPushButton *, 4> BtCOM{};
    QPushButton *COMCon = nullptr;
    QPushButton *USBCon = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QPushButton *BTCon = nullptr;
    QPushButton *BtDiscon = nullptr;
    QPushButton *BtExit = nullptr;
    QPushButton *ReadBtn = nullptr;
    QPushButton *ClearBtn = nullptr;
    QPushButton *InfoBtn = nullptr;
    QPushButton *SetFeature = nullptr;
    QListWidget *DevListBox = nullptr;
    QListWidget *HistoryListBox = nullptr;
    QLabel *USBtxt = nullptr;
    QProgressBar *PBar2 = nullptr;
    QCheckBox *RepeatSet = nullptr;
    QCheckBox *RecordSI = nullptr;
    QLineEdit *RecordSITime = nullptr;
    QToolButton *RecordNew = nullptr;
    QToolButton *OpenDataFiles = nullptr;
    QToolButton *saveas = nullptr;
    QToolButton *BtPrint = nullptr;
};

WindowControls createWindowControls(QWidget *client, const WindowLayout &layout);

// The hidden profile check boxes `IFKX38A`..`IF6270x`, ticked as the build fixes them.
void createProfileFlagBoxes(QWidget *client, meter::ProfileFlags flags);

// Puts every named child of the client area at its place in the layout, anchored to the client
// size, then applies the resize rule with the gauge panel's height.
void placeControls(QWidget *client, const WindowLayout &layout);

} // namespace kx::app
