#pragma once
// Control ids of the main plan form, and the per-column tables of the ten loan rows.
// Ids are the form's stable names: handlers, the page model and tests address controls by them.

#include <array>

#include "core/funding_plan.h"

namespace zorvik::ids {

// Header.
inline constexpr int kCustomerName = 1002;
inline constexpr int kYear = 1003;
inline constexpr int kMonth = 1004;
inline constexpr int kDay = 1005;

// Required funds.
inline constexpr int kLandLabel = 1010;
inline constexpr int kBuildingLabel = 1011;
inline constexpr int kTaxLabel = 1012;
inline constexpr int kOtherCostLabel = 1013;
inline constexpr int kLandPrice = 1014;
inline constexpr int kBuildingPrice = 1015;
inline constexpr int kConsumptionTax = 1016;
inline constexpr int kOtherCost = 1017;
inline constexpr int kFundsMinusLoansLabel = 1019;
inline constexpr int kMiscCostsLabel = 1020;
inline constexpr int kOwnFundsLabel = 1021;
inline constexpr int kFundsMinusLoans = 1022;
inline constexpr int kMiscCosts = 1023;
inline constexpr int kOwnFundsNeeded = 1024;
inline constexpr int kAnnualIncome = 1025;
inline constexpr int kRequiredFundsTotal = 1091;

// Totals.
inline constexpr int kTotalLoan = 1092;
inline constexpr int kTotalBonusAmount = 1093;
inline constexpr int kTotalMonthly = 1106;  // clickable: monthly-target simulation
inline constexpr int kTotalBonus = 1107;    // clickable: bonus-target simulation
inline constexpr int kAnnualRepayment = 1108;
inline constexpr int kRepaymentRatio = 1109;

// Buttons and commands.
inline constexpr int kOk = 1;  // "終 了", also the menu's "終了(&X)"
inline constexpr int kCancel = 2;
inline constexpr int kPrint = 1000;
inline constexpr int kFileSaveAs = 1001;
inline constexpr int kFileSave = 57603;  // "上書き保存(&S)", Ctrl+S: the plan's own file
inline constexpr int kFileOpen = 32772;
inline constexpr int kFileNew = 32775;
inline constexpr int kDownloadRateMaster = 32776;
// The tools menu: after "借入可能額(&B)..." (32800) and "返済予定表(&R)..." (32801), the two
// simulations that a click on the monthly (1106) or per-bonus (1107) total opens.
inline constexpr int kToolsMonthlySimulation = 32802;
inline constexpr int kToolsBonusSimulation = 32803;
inline constexpr int kHelpVersion = 32779;
inline constexpr int kHelpNotice = 32780;
inline constexpr int kHelpInstructions = 57670;
inline constexpr int kSysMenuAbout = 16;
inline constexpr int kEndWithoutCheck = 57665;  // result of Enter on "終 了"

// Captions and texts.
inline constexpr int kCaptionName = 1119;
inline constexpr int kCaptionSama = 1120;
inline constexpr int kCaptionCreated = 1121;
inline constexpr int kCaptionRequiredFunds = 1118;
inline constexpr int kCaptionTotal = 1124;
inline constexpr int kCaptionIncome = 1125;
inline constexpr int kCaptionLoanName = 1126;
inline constexpr int kCaptionMethod = 1127;
inline constexpr int kCaptionConditions = 1128;
inline constexpr int kCaptionRate = 1129;
inline constexpr int kCaptionPeriod = 1130;
inline constexpr int kCaptionLoanAmountGroup = 1131;
inline constexpr int kCaptionLoanAmount = 1132;
inline constexpr int kCaptionBonusPortion = 1133;
inline constexpr int kCaptionRepaymentGroup = 1134;
inline constexpr int kCaptionMonthly = 1135;
inline constexpr int kCaptionBonus = 1136;
inline constexpr int kCaptionTotals = 1137;
inline constexpr int kCaptionAnnualRepayment = 1138;
inline constexpr int kCaptionRatio = 1139;
inline constexpr int kBonusRuleText = 1140;
inline constexpr int kLegendText = 1172;
inline constexpr int kLegendSample = 1174;

// Menu and dialogs.
inline constexpr int kMainMenu = 134;
inline constexpr int kIcon = 138;

// The ten loan rows, one table per column, indexed by row number 0..9.
using RowIds = std::array<int, kLoanRowCount>;
inline constexpr RowIds kLoanName = {1008, 1026, 1027, 1028, 1029, 1030, 1031, 1032, 1033, 1034};
inline constexpr RowIds kMethod = {1009, 1035, 1036, 1037, 1038, 1039, 1040, 1041, 1042, 1043};
inline constexpr RowIds kRate = {1044, 1045, 1046, 1047, 1048, 1049, 1050, 1051, 1052, 1053};
inline constexpr RowIds kPeriod = {1054, 1055, 1056, 1057, 1058, 1059, 1060, 1061, 1062, 1063};
inline constexpr RowIds kLoanAmount = {1064, 1065, 1066, 1067, 1068, 1069, 1070, 1071, 1072, 1073};
inline constexpr RowIds kBonusAmount = {1074, 1075, 1076, 1077, 1078, 1079, 1080, 1081, 1082, 1083};
inline constexpr RowIds kMonthlyPayment = {1094, 1095, 1096, 1097, 1098, 1099, 1100, 1101, 1102, 1103};
inline constexpr RowIds kBonusPayment = {1104, 1105, 1110, 1111, 1112, 1113, 1114, 1115, 1116, 1117};
inline constexpr RowIds kDeleteRow = {1006, 1007, 1018, 1084, 1085, 1086, 1087, 1088, 1089, 1090};

// The row whose table `column` holds `id`, or -1.
constexpr int RowOf(const RowIds& column, int id) {
  for (int r = 0; r < kLoanRowCount; ++r) {
    if (column[static_cast<size_t>(r)] == id) return r;
  }
  return -1;
}

}  // namespace zorvik::ids
