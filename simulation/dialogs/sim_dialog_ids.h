#pragma once
// Control ids of the three simulation dialogs (135 monthly target, 136 per-bonus target,
// 137 result). Ids name the controls for handlers and tests.

namespace zorvik::sim_ids {

inline constexpr int kMonthlySimDialog = 135;
inline constexpr int kBonusSimDialog = 136;
inline constexpr int kSimResultDialog = 137;

inline constexpr int kOk = 1;      // 実  行 / OK
inline constexpr int kCancel = 2;  // 中  止 / 元に戻す

// Input dialogs 135 and 136.
inline constexpr int kCurrentCaption = 1119;  // "現在の月払い額" / "現在のボーナス払い額"
inline constexpr int kDesiredCaption = 1120;  // "希望する金額"
inline constexpr int kCurrentAmount = 1144;   // read-only
inline constexpr int kDesiredAmount = 1145;
inline constexpr int kChangeLoansYes = 1175;  // "はい"
inline constexpr int kChangeLoansNo = 1176;   // "いいえ"

// Result dialog 137.
inline constexpr int kAfterCaption = 1119;  // "【 変更後 】"
inline constexpr int kMonthlyBefore = 1146;
inline constexpr int kBonusBefore = 1147;
inline constexpr int kMonthlyAfter = 1148;
inline constexpr int kBonusAfter = 1149;
inline constexpr int kLoanBefore = 1150;
inline constexpr int kLoanAfter = 1151;

}  // namespace zorvik::sim_ids
