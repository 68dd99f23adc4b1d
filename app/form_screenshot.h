#pragma once
// Renders the main plan form off-screen into an image file (the picture in the README). The form
// shows the worked example: one loan of 3,000万 with 1,200万 through the bonuses at 2.375％ over
// 35 years, equal instalments.

#include <QString>

namespace zorvik {

// Writes the picture to `path` (the format follows the file extension). Needs a QApplication.
// Settings are neither read nor written. Returns whether the file was written.
bool SaveFormScreenshot(const QString& path);

}  // namespace zorvik
