#include "core/prepayment.h"

#include <algorithm>

namespace zorvik {
namespace {

// A part's lines as it is paid now, and where payment `after` leaves it.
struct PartState {
  std::vector<SchedulePayment> lines;
  int32_t lastNumber = 0;  // the number of its last payment
  int64_t totalInterest = 0;
  int64_t balanceAfter = 0;  // after payment `after` and the prepayments already paid with it
  size_t next = 0;           // index of the first payment after `after` (prepayment lines skipped)
};

PartState Walk(const SchedulePart& part, int32_t after) {
  PartState s;
  s.lines = PartPaymentList(part);
  s.balanceAfter = part.principal;
  for (size_t i = 0; i < s.lines.size(); ++i) {
    const SchedulePayment& p = s.lines[i];
    s.totalInterest += p.interest;
    if (!p.prepayment) s.lastNumber = p.number;
    if (p.number <= after) {
      s.balanceAfter = p.balance;
      s.next = i + 1;
    }
  }
  while (s.next < s.lines.size() && s.lines[s.next].prepayment) ++s.next;
  return s;
}

// The part with `event` among its prepayments, after those paid at the same point or earlier.
SchedulePart With(const SchedulePart& part, const PartPrepayment& event) {
  SchedulePart changed = part;
  auto at = std::upper_bound(changed.prepayments.begin(), changed.prepayments.end(), event.afterPayment,
                             [](int32_t after, const PartPrepayment& p) { return after < p.afterPayment; });
  changed.prepayments.insert(at, event);
  return changed;
}

// The principal shares of the real payments from index `from`, in order.
std::vector<int64_t> Shares(const PartState& s, size_t from) {
  std::vector<int64_t> shares;
  for (size_t i = from; i < s.lines.size(); ++i) {
    if (!s.lines[i].prepayment) shares.push_back(s.lines[i].principal);
  }
  return shares;
}

// How many steps an amount buys when step i repays steps[i]: the smallest count reaching it, or
// the largest staying within it. 0 when none does.
int32_t StepsFor(const std::vector<int64_t>& steps, int64_t amount, ShortenRule rule, int64_t& paid) {
  paid = 0;
  for (size_t i = 0; i < steps.size(); ++i) {
    if (rule == ShortenRule::AtMostAmount && paid + steps[i] > amount) return static_cast<int32_t>(i);
    paid += steps[i];
    if (rule == ShortenRule::AtLeastAmount && paid >= amount) return static_cast<int32_t>(i + 1);
  }
  return static_cast<int32_t>(steps.size());
}

int64_t FirstPaymentFrom(const PartState& s) {
  return s.next < s.lines.size() ? s.lines[s.next].payment : 0;
}

}  // namespace

PartPrepayment PrepaymentEvent(int32_t afterPayment, PrepaymentKind kind, const PrepaymentResult& result) {
  PartPrepayment e;
  e.afterPayment = afterPayment;
  e.amount = result.amount;
  e.removePayments = kind == PrepaymentKind::ShortenTerm ? result.paymentsRemoved : 0;
  e.recompute = kind == PrepaymentKind::ReducePayment && !result.paysOff;
  return e;
}

PrepaymentResult PrepayPart(const SchedulePart& part, int32_t afterPayment, int64_t amount, PrepaymentKind kind,
                            ShortenRule rule) {
  PrepaymentResult r;
  if (!part.HasPayments()) {
    r.refused = PrepaymentRefusal::NoSuchPart;
    return r;
  }
  const PartState before = Walk(part, afterPayment);
  if (afterPayment < 0 || afterPayment >= before.lastNumber) {
    r.refused = PrepaymentRefusal::AfterOutOfRange;
    return r;
  }
  if (amount <= 0) {
    r.refused = PrepaymentRefusal::NoAmount;
    return r;
  }
  if (amount > before.balanceAfter) {
    r.refused = PrepaymentRefusal::AboveBalance;
    return r;
  }
  const std::vector<int64_t> shares = Shares(before, before.next);
  if (amount == before.balanceAfter) {
    r.paysOff = true;
    r.amount = amount;
    r.paymentsRemoved = static_cast<int32_t>(shares.size());
  } else if (kind == PrepaymentKind::ShortenTerm) {
    r.paymentsRemoved = StepsFor(shares, amount, rule, r.amount);
    if (r.paymentsRemoved == 0) {
      r.refused = PrepaymentRefusal::BelowFirstShare;
      return r;
    }
    if (static_cast<size_t>(r.paymentsRemoved) >= shares.size()) {
      r.refused = PrepaymentRefusal::NeedsLastPayment;
      return r;
    }
  } else {
    r.amount = amount;
  }
  const PartState after = Walk(With(part, PrepaymentEvent(afterPayment, kind, r)), afterPayment);
  r.interestSaved = before.totalInterest - after.totalInterest;
  r.newPayment = FirstPaymentFrom(after);
  return r;
}

PrepaymentResult PrepayRow(RowSchedule& row, const PlannedPrepayment& planned) {
  const bool rowShorten =
      planned.kind == PrepaymentKind::ShortenTerm && row.monthly.HasPayments() && row.bonus.HasPayments();
  if (planned.bonusPart && planned.kind == PrepaymentKind::ShortenTerm && row.monthly.HasPayments()) {
    PrepaymentResult r;
    r.refused = PrepaymentRefusal::BonusShorten;
    return r;
  }
  if (!rowShorten) {
    SchedulePart& part = planned.bonusPart || !row.monthly.HasPayments() ? row.bonus : row.monthly;
    const PrepaymentResult r = PrepayPart(part, planned.afterPayment, planned.amount, planned.kind, planned.rule);
    if (r.refused == PrepaymentRefusal::None) {
      part = With(part, PrepaymentEvent(planned.afterPayment, planned.kind, r));
    }
    return r;
  }

  // 期間短縮型 on a row with both parts: steps of six months, each the next six monthly payments and
  // the bonus payment among them (bonus payment j is paid with monthly payment 6j).
  PrepaymentResult r;
  const int32_t t = planned.afterPayment;
  const int32_t b = t / 6;
  const PartState monthly = Walk(row.monthly, t);
  const PartState bonus = Walk(row.bonus, b);
  if (t < 0 || t >= monthly.lastNumber) {
    r.refused = PrepaymentRefusal::AfterOutOfRange;
    return r;
  }
  const int64_t balance = monthly.balanceAfter + bonus.balanceAfter;
  if (planned.amount <= 0 || planned.amount > balance) {
    r.refused = planned.amount <= 0 ? PrepaymentRefusal::NoAmount : PrepaymentRefusal::AboveBalance;
    return r;
  }
  const std::vector<int64_t> monthlyShares = Shares(monthly, monthly.next);
  const std::vector<int64_t> bonusShares = Shares(bonus, bonus.next);
  std::vector<int64_t> steps;
  for (size_t s = 0; 6 * (s + 1) <= monthlyShares.size() && s < bonusShares.size(); ++s) {
    int64_t step = bonusShares[s];
    for (size_t m = 6 * s; m < 6 * (s + 1); ++m) step += monthlyShares[m];
    steps.push_back(step);
  }
  int32_t j = 0;
  int64_t monthlyAmount = 0;
  int64_t bonusAmount = 0;
  if (planned.amount == balance) {
    r.paysOff = true;
    monthlyAmount = monthly.balanceAfter;
    bonusAmount = bonus.balanceAfter;
  } else {
    int64_t paid = 0;
    j = StepsFor(steps, planned.amount, planned.rule, paid);
    if (j == 0) {
      r.refused = PrepaymentRefusal::BelowFirstShare;
      return r;
    }
    // A step that takes either part's last payment is the whole balance.
    if (6 * static_cast<size_t>(j) >= monthlyShares.size() || static_cast<size_t>(j) >= bonusShares.size()) {
      r.refused = PrepaymentRefusal::NeedsLastPayment;
      return r;
    }
    for (int32_t m = 0; m < 6 * j; ++m) monthlyAmount += monthlyShares[static_cast<size_t>(m)];
    for (int32_t k = 0; k < j; ++k) bonusAmount += bonusShares[static_cast<size_t>(k)];
  }
  const PartPrepayment monthlyEvent{t, monthlyAmount, r.paysOff ? 0 : 6 * j, false};
  const PartPrepayment bonusEvent{b, bonusAmount, r.paysOff ? 0 : j, false};
  const SchedulePart newMonthly = With(row.monthly, monthlyEvent);
  const SchedulePart newBonus = bonusAmount > 0 ? With(row.bonus, bonusEvent) : row.bonus;
  const PartState monthlyAfter = Walk(newMonthly, t);
  const PartState bonusAfter = Walk(newBonus, b);
  r.amount = monthlyAmount + bonusAmount;
  r.paymentsRemoved = r.paysOff ? static_cast<int32_t>(monthlyShares.size()) : 6 * j;
  r.interestSaved = monthly.totalInterest - monthlyAfter.totalInterest + bonus.totalInterest - bonusAfter.totalInterest;
  r.newPayment = FirstPaymentFrom(monthlyAfter);
  row.monthly = newMonthly;
  row.bonus = newBonus;
  return r;
}

std::string PrepaymentRefusalText(PrepaymentRefusal refusal) {
  switch (refusal) {
    case PrepaymentRefusal::None:
      return {};
    case PrepaymentRefusal::NoAmount:
      return "繰上返済額を入力してください。";
    case PrepaymentRefusal::AboveBalance:
      return "繰上返済額がその時点の残高を超えています。";
    case PrepaymentRefusal::AfterOutOfRange:
      return "繰上返済の時期が返済期間の範囲外です。";
    case PrepaymentRefusal::BelowFirstShare:
      return "繰上返済額が次回の返済の元金に届かないため、期間を短縮できません。";
    case PrepaymentRefusal::NeedsLastPayment:
      return "この金額では残りをすべて返済することになります。一括返済として残高の全額を指定してください。";
    case PrepaymentRefusal::BonusShorten:
      return "ボーナス払いのある融資の期間短縮型は、月払いとボーナス払いをあわせて6か月単位で短縮します。月払いを選んで"
             "ください。";
    case PrepaymentRefusal::NoSuchPart:
      return "この融資には指定の返済区分がありません。";
  }
  return {};
}

std::string ShortenedTermText(int32_t payments, int32_t paymentsPerYear) {
  if (paymentsPerYear <= 0) return {};
  const int32_t months = payments * (12 / paymentsPerYear);
  const int32_t years = months / 12;
  const int32_t rest = months % 12;
  std::string text;
  if (years > 0) text += std::to_string(years) + "年";
  if (rest > 0 || years == 0) text += std::to_string(rest) + "か月";
  return text;
}

std::optional<PlannedPrepayment> ParsePrepaymentOption(const std::string& text, std::string* error) {
  const auto fail = [&]() -> std::optional<PlannedPrepayment> {
    if (error != nullptr) {
      *error =
          "繰上返済の指定「" + text +
          "」を読み取れません。行:回:金額:shorten または reduce（ボーナス払いは :bonus）の形で指定してください（例 "
          "1:60:100万:shorten）。";
    }
    return std::nullopt;
  };
  std::vector<std::string> fields;
  size_t begin = 0;
  for (;;) {
    const size_t at = text.find(':', begin);
    fields.push_back(text.substr(begin, at == std::string::npos ? std::string::npos : at - begin));
    if (at == std::string::npos) break;
    begin = at + 1;
  }
  if (fields.size() != 4 && fields.size() != 5) return fail();
  const auto number = [](std::string digits, size_t maxDigits) -> std::optional<int64_t> {
    if (digits.empty() || digits.size() > maxDigits) return std::nullopt;
    int64_t v = 0;
    for (const char c : digits) {
      if (c < '0' || c > '9') return std::nullopt;
      v = v * 10 + (c - '0');
    }
    return v;
  };
  PlannedPrepayment p;
  const auto row = number(fields[0], 2);
  const auto after = number(fields[1], 4);
  std::string amountText = fields[2];
  const std::string man = "万";
  const bool inManYen =
      amountText.size() > man.size() && amountText.compare(amountText.size() - man.size(), man.size(), man) == 0;
  if (inManYen) amountText.resize(amountText.size() - man.size());
  const auto amount = number(amountText, inManYen ? 6 : 10);
  if (!row || *row < 1 || *row > kLoanRowCount || !after || !amount) return fail();
  if (fields[3] == "shorten") {
    p.kind = PrepaymentKind::ShortenTerm;
  } else if (fields[3] == "reduce") {
    p.kind = PrepaymentKind::ReducePayment;
  } else {
    return fail();
  }
  if (fields.size() == 5) {
    if (fields[4] != "bonus") return fail();
    p.bonusPart = true;
  }
  p.row = static_cast<int>(*row) - 1;
  p.afterPayment = static_cast<int32_t>(*after);
  p.amount = inManYen ? *amount * 10000 : *amount;
  return p;
}

}  // namespace zorvik
