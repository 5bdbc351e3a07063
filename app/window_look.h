#pragma once

class QWidget;

namespace kx::app {

// Fonts and colours of the window's own controls. "Arial" is drawn with Liberation Sans, which has
// the same metrics, and "MS Sans Serif" with the system's sans serif.

// The window's default: 8-point sans serif, bold, on grey.
void applyWindowLook(QWidget *window);
// Liberation Sans at a pixel size, in black unless the control's look says otherwise.
void arialLook(QWidget *control, int pixelSize, bool bold, bool italic = false);
// The port panels "COM 1".."COM 4": silver, lowered bevel, 16-pixel bold black.
void portPanelLook(QWidget *panel);
// "Connect", "Disconnect", "Exit": azure, raised bevel, bold italic yellow at the given size.
void linkPanelLook(QWidget *panel, int pixelSize);
// The log toolbar's captions: white 11-pixel text on the window's grey.
void toolbarCaptionLook(QWidget *caption);
// An edit field on silver.
void silverEditLook(QWidget *edit);

} // namespace kx::app
