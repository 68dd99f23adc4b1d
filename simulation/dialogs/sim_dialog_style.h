#pragma once
// Font and colours shared by the simulation dialogs.

#include <QColor>
#include <QFont>

class QWidget;

namespace zorvik {

// The program's window font (app/ui_font.h) at 9 points.
QFont SimulationDialogFont();

inline const QColor kSimLabelColor{200, 255, 200};       // captions 1119 and 1120 of 135/136
inline const QColor kSimReadOnlyColor{220, 220, 220};    // current box 1144, values before (137)
inline const QColor kSimAfterValueColor{255, 200, 200};  // values after (137)
inline const QColor kSimAfterCaptionColor{255, 0, 0};    // caption 1119 of 137

// Black text on `background`, painted over the whole control.
void PaintControl(QWidget* control, const QColor& background);

}  // namespace zorvik
