#pragma once
// The colour scheme of the main plan form: nine colours, each for a group of captions or
// results. Input edits, lists, "様" and the buttons keep the platform's colours.
//
// Most groups draw black text on their colour. The two explanatory texts (1140, 1172) draw blue
// text on the form's own background colour inside a blue box. Yellow (brush 9) marks the two
// totals that open the payment simulation, and the legend sample 1174 explains it.

#include <QColor>
#include <array>
#include <optional>

class QWidget;

namespace zorvik {

inline constexpr int kFormBrushCount = 9;

struct FormRgb {
  int r;
  int g;
  int b;
};

// Brushes 1..9 in this order.
inline constexpr std::array<FormRgb, kFormBrushCount> kFormBrushColors = {{
    {200, 255, 200},  // 1 name, loan-amount captions, totals caption
    {200, 180, 255},  // 2 date, required funds, repayment captions
    {255, 200, 200},  // 3 income, yearly repayment, ratio captions
    {255, 230, 200},  // 4 loan name caption
    {255, 200, 255},  // 5 method caption
    {200, 255, 255},  // 6 loan conditions, rate, period captions
    {220, 220, 220},  // 7 computed values and fixed captions
    {0, 0, 255},      // 8 explanatory texts
    {255, 255, 0},    // 9 clickable totals and their legend
}};

QColor FormBrushColor(int brush);  // brush 1..9

enum class ColorStyle {
  BlackOnBrush,  // text black, text background and box the brush colour
  BlueOnDefault  // text blue, text background the default, box the brush colour
};

struct ControlColors {
  int brush = 0;  // 1..9
  QColor box;     // background of the whole control
  QColor text;    // text colour
  ColorStyle style = ColorStyle::BlackOnBrush;
};

// The colours of control `id`, first matching group in brush order; nullopt for the controls
// that keep the default colours.
std::optional<ControlColors> ColorsForControl(int id);

// Sets the widget's palette (Window = box, WindowText = text, Base = box for edits) and turns on
// background filling. Returns false when the control keeps the default colours.
bool ApplyFormColors(QWidget* widget, int id);

}  // namespace zorvik
