#include "app/repayment_schedule_dlg.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QListWidget>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QSplitter>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

#include "app/prepayment_panel.h"
#include "app/window_output.h"
#include "app/zorvik_app.h"
#include "core/plan_evaluation.h"
#include "core/rate_scenario.h"
#include "core/units.h"
#include "io/schedule_export.h"
#include "print/render/plan_printer.h"
#include "print/render/schedule_chart.h"
#include "print/render/schedule_renderer.h"
#include "print/schedule_pages.h"
#include "ui/window_fit.h"

namespace zorvik {
namespace {

QString U(const std::string& s) {
  return QString::fromStdString(s);
}
QString U(const char* s) {
  return QString::fromUtf8(s);
}

class QtScheduleSaveUi : public ScheduleSaveUi {
 public:
  QString GetSavePath(QWidget* owner, const QString& proposedPath, const QString& filter,
                      const QString& suffix) override {
    return RunSaveFileDialog(owner, proposedPath, filter, suffix);
  }
};

// Puts `text` into a read-only cell (right-aligned for amounts), reusing the cell's item.
void SetCell(QTableWidget& table, int row, int column, const QString& text, Qt::Alignment align) {
  if (QTableWidgetItem* item = table.item(row, column)) {
    item->setText(text);
    return;
  }
  auto* item = new QTableWidgetItem(text);
  item->setTextAlignment(align | Qt::AlignVCenter);
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  table.setItem(row, column, item);
}

constexpr const char* kWithoutPrepaymentText = "繰上返済なしの残高";
constexpr const char* kWithoutPrepaymentTitle = "破線：繰上返済なしの残高";

// The balance line without the prepayments, on the chart's year and balance axes; hidden when
// `without` is empty. `shown` years are what the chart was filled with.
void ShowBalanceWithout(QChart& chart, const std::vector<ScheduleYear>& shown,
                        const std::vector<ScheduleYear>& without) {
  QLineSeries* line = nullptr;
  for (QAbstractSeries* series : chart.series()) {
    if (series->name() == QString::fromUtf8(kWithoutPrepaymentText)) line = qobject_cast<QLineSeries*>(series);
  }
  QAbstractAxis* yearAxis = nullptr;
  QValueAxis* balanceAxis = nullptr;
  for (QAbstractAxis* axis : chart.axes()) {
    if (axis->alignment() == Qt::AlignBottom) yearAxis = axis;
    if (axis->alignment() == Qt::AlignRight) balanceAxis = qobject_cast<QValueAxis*>(axis);
  }
  if (yearAxis == nullptr || balanceAxis == nullptr) return;
  if (line == nullptr) {
    line = new QLineSeries;
    line->setName(QString::fromUtf8(kWithoutPrepaymentText));
    QPen pen(QColor(0x70, 0x70, 0x70));
    pen.setWidthF(1.5);
    pen.setStyle(Qt::DashLine);
    line->setPen(pen);
    chart.addSeries(line);
    line->attachAxis(yearAxis);
    line->attachAxis(balanceAxis);
  }
  QList<QPointF> points;
  double largest = 0.0;
  for (size_t i = 0; i < without.size(); ++i) {
    const double b = static_cast<double>(without[i].balance) / 10000.0;
    points.append(QPointF(static_cast<double>(i), b));
    largest = std::max(largest, b);
  }
  line->replace(points);
  const bool visible = !without.empty() && !shown.empty();
  line->setVisible(visible);
  // The legend keeps its three entries (a fourth would not fit beside the table); the dashed
  // line is named in the chart's title instead.
  for (QLegendMarker* marker : chart.legend()->markers(line)) marker->setVisible(false);
  chart.setTitle(visible ? QString::fromUtf8(kWithoutPrepaymentTitle) : QString());
  if (visible) chart.setTitleFont(chart.legend()->font());
  if (largest > balanceAxis->max()) {
    balanceAxis->setMax(largest);
    balanceAxis->applyNiceNumbers();
  }
}

// The payment of `part` numbered `number` (not a prepayment line); 0 when there is none.
int64_t PaymentNumbered(const SchedulePart& part, int32_t number) {
  if (!part.HasPayments()) return 0;
  for (const SchedulePayment& p : PartPaymentList(part)) {
    if (!p.prepayment && p.number == number) return p.payment;
  }
  return 0;
}

RateScenario WithPrepayments(std::vector<PlannedPrepayment> list) {
  RateScenario scenario;
  scenario.name = kUnchangedScenarioName;
  scenario.prepayments = std::move(list);
  return scenario;
}

}  // namespace

ScheduleSaveUi& DefaultScheduleSaveUi() {
  static QtScheduleSaveUi ui;
  return ui;
}

QString ProposedScheduleFileName(const QString& customerName, const QString& suffix) {
  return ProposedWindowFileName(customerName, U(kScheduleDocumentName), suffix);
}

CRepaymentScheduleDlg::CRepaymentScheduleDlg(const FundingPlan& plan, const QString& dataFolder, QWidget* parent,
                                             PrintInteraction* print, ScheduleSaveUi* save)
    : QDialog(parent),
      plan_(plan),
      dataFolder_(dataFolder),
      print_(print != nullptr ? print : &DefaultPrintInteraction()),
      save_(save != nullptr ? save : &DefaultScheduleSaveUi()),
      output_(std::make_unique<WindowOutput>(this, *print_, *save_, U(kRepaymentScheduleCaption),
                                             U(kScheduleDocumentName))) {
  setWindowTitle(U(kRepaymentScheduleCaption));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                 Qt::WindowCloseButtonHint);
  setModal(false);
  planned_ = LoadPrepayments(*OpenSettingsStore(), planFileName_);
  BuildControls();
  Refresh();
}

CRepaymentScheduleDlg::~CRepaymentScheduleDlg() = default;

void CRepaymentScheduleDlg::BuildControls() {
  // Everything but the buttons scrolls where the screen is too small for the window's minimum.
  auto* body = new QWidget(this);
  auto* layout = new QVBoxLayout(body);
  layout->setContentsMargins(12, 12, 12, 0);
  layout->setSpacing(10);

  // Which schedule is shown.
  auto* choiceLine = new QHBoxLayout;
  auto* choiceLabel = new QLabel(U("表示する融資(&V):"), this);
  rowChoice_ = new QComboBox(this);
  rowChoice_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  rowChoice_->setMinimumContentsLength(18);
  choiceLabel->setBuddy(rowChoice_);
  details_ = new QLabel(this);
  choiceLine->addWidget(choiceLabel);
  choiceLine->addWidget(rowChoice_);
  choiceLine->addSpacing(16);
  choiceLine->addWidget(details_, 1);
  layout->addLayout(choiceLine);
  connect(rowChoice_, &QComboBox::activated, this, [this](int index) {
    const QVariant row = rowChoice_->itemData(index);
    shownRow_ = row.isValid() ? std::optional<int>(row.toInt()) : std::nullopt;
    ShowSelection();
  });

  // Summary: four captions over four values.
  auto* summary = new QGridLayout;
  summary->setHorizontalSpacing(0);
  summary->setVerticalSpacing(0);
  const char* captions[4] = {kLoanAmountLabel, kTotalRepaidLabel, kTotalInterestLabel, kPayoffYearsLabel};
  for (int i = 0; i < 4; ++i) {
    auto* caption = new QLabel(U(captions[i]), this);
    caption->setAlignment(Qt::AlignCenter);
    caption->setFrameStyle(QFrame::Box | QFrame::Plain);
    caption->setMargin(4);
    caption->setStyleSheet(QStringLiteral("background: #eef3fa;"));
    summary_[i] = new QLabel(this);
    summary_[i]->setObjectName(QStringLiteral("summary%1").arg(i));
    summary_[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    summary_[i]->setFrameStyle(QFrame::Box | QFrame::Plain);
    summary_[i]->setMargin(6);
    summary_[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont big = summary_[i]->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    summary_[i]->setFont(big);
    summary->addWidget(caption, 0, i);
    summary->addWidget(summary_[i], 1, i);
    summary->setColumnStretch(i, 1);
  }
  layout->addLayout(summary);
  emptyNote_ = new QLabel(U(kNoScheduleText), this);
  emptyNote_->setAlignment(Qt::AlignCenter);
  layout->addWidget(emptyNote_);
  notes_ = new QLabel(this);
  notes_->setObjectName(QStringLiteral("scheduleNotes"));
  notes_->setWordWrap(true);
  notes_->setStyleSheet(QStringLiteral("color: #b00000;"));
  notes_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  notes_->hide();
  layout->addWidget(notes_);

  prepay_ = new PrepaymentPanel(this);
  layout->addWidget(prepay_);
  connect(prepay_, &PrepaymentPanel::addRequested, this, &CRepaymentScheduleDlg::OnAddPrepayment);
  connect(prepay_, &PrepaymentPanel::removeRequested, this, &CRepaymentScheduleDlg::OnRemovePrepayment);

  // Year table beside the chart.
  auto* splitter = new QSplitter(Qt::Horizontal, this);
  table_ = new QTableWidget(0, 5, splitter);
  QStringList headers;
  for (const char* h : kScheduleYearHeaders) headers << U(h);
  table_->setHorizontalHeaderLabels(headers);
  table_->verticalHeader()->setVisible(false);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setAlternatingRowColors(true);
  // Widths that do not depend on the contents: measuring cells on every refill of up to 99
  // lines would cost more than everything else the window does.
  table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Fixed);
  table_->horizontalHeader()->resizeSection(0, table_->fontMetrics().horizontalAdvance(QStringLiteral("年目")) + 16);
  for (int c = 1; c < 5; ++c) table_->horizontalHeader()->setSectionResizeMode(c, QHeaderView::Stretch);
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 8);
  // At its smallest the table still shows four amounts of ten digits whole, beside the year
  // column and the scroll bar (a cell keeps a few pixels of air either side of its text).
  const int amountColumn = table_->fontMetrics().horizontalAdvance(QStringLiteral("9,999,999,999円")) + 12;
  table_->setMinimumWidth(table_->horizontalHeader()->sectionSize(0) + 4 * amountColumn +
                          table_->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2 * table_->frameWidth());
  chart_ = new QChart;
  chartView_ = new QChartView(chart_, splitter);
  chartView_->setRenderHint(QPainter::Antialiasing);
  chartView_->setMinimumSize(320, 320);  // with the table, narrower than a 1366-pixel screen at 150 %
  splitter->addWidget(table_);
  splitter->addWidget(chartView_);
  splitter->setStretchFactor(0, 1);
  splitter->setStretchFactor(1, 1);
  splitter->setChildrenCollapsible(false);
  layout->addWidget(splitter, 1);
  auto* bonusNote = new QLabel(U(kBonusYearNote), this);
  bonusNote->setWordWrap(true);
  layout->addWidget(bonusNote);

  // Buttons.
  auto* buttons = new QHBoxLayout;
  auto addButton = [this, buttons](const char* text, void (CRepaymentScheduleDlg::*slot)()) {
    auto* b = new QPushButton(U(text), this);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, slot);
    buttons->addWidget(b);
    return b;
  };
  addButton("印刷(&P)...", &CRepaymentScheduleDlg::OnPrint);
  addButton("PDFに保存(&D)...", &CRepaymentScheduleDlg::OnSavePdf);
  addButton("Excelに保存(&E)...", &CRepaymentScheduleDlg::OnSaveExcel);
  addButton("CSVに保存(&C)...", &CRepaymentScheduleDlg::OnSaveCsv);
  buttons->addStretch(1);
  auto* close = new QPushButton(U("閉じる"), this);
  close->setDefault(true);
  connect(close, &QPushButton::clicked, this, &QDialog::close);
  buttons->addWidget(close);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 12);
  outer->setSpacing(10);
  outer->addWidget(ScrollingBody(body, this), 1);
  buttons->setContentsMargins(12, 0, 12, 0);
  outer->addLayout(buttons);

  resize(1080, 860);
  FitToScreen(*this);

  // The names a screen reader gives what has no caption of its own beside it.
  rowChoice_->setAccessibleName(U("表示する融資"));
  table_->setAccessibleName(U("年次返済表"));
  chartView_->setAccessibleName(U(kScheduleChartCaption));
  for (int i = 0; i < 4; ++i) summary_[i]->setAccessibleDescription(U(captions[i]));
}

void CRepaymentScheduleDlg::Refresh() {
  // Only the loan rows change what the window shows (the name and date are read when printing);
  // a file's stored payments decide the notes.
  BuiltFrom now;
  now.inputs = plan_.Inputs().rows;
  for (size_t i = 0; i < now.storedPayments.size(); ++i) {
    now.storedPayments[i] = {plan_.rows[i].monthlyPayment, plan_.rows[i].bonusPayment};
  }
  if (builtFrom_ && *builtFrom_ == now) return;
  builtFrom_ = now;
  Rebuild();
}

void CRepaymentScheduleDlg::Rebuild() {
  plain_ = EvaluatePlan(plan_).schedule;
  std::vector<PrepaymentOutcome> outcomes;
  if (planned_.empty()) {
    schedule_ = plain_;
  } else {
    PrepaymentResults results;
    schedule_ = BuildPlanSchedule(plan_, WithPrepayments(planned_), &results);
    for (size_t i = 0; i < planned_.size(); ++i) {
      const PlannedPrepayment& p = planned_[i];
      PrepaymentOutcome o;
      if (i < results.size()) o.result = results[i];
      if (const RowSchedule* row = plain_.FindRow(p.row)) {
        const bool monthly = row->monthly.HasPayments();
        o.rowHasBonus = monthly && row->bonus.HasPayments();
        const bool onBonus = p.bonusPart || !monthly;
        o.paymentsPerYear = onBonus ? row->bonus.paymentsPerYear : row->monthly.paymentsPerYear;
        if (p.kind == PrepaymentKind::ReducePayment && o.result.refused == PrepaymentRefusal::None) {
          // The payment it replaces: with the prepayments before it only.
          const PlanSchedule before =
              BuildPlanSchedule(plan_, WithPrepayments({planned_.begin(), planned_.begin() + static_cast<long>(i)}));
          if (const RowSchedule* b = before.FindRow(p.row)) {
            o.paymentBefore = PaymentNumbered(onBonus ? b->bonus : b->monthly, p.afterPayment + 1);
          }
        }
      }
      outcomes.push_back(o);
    }
  }
  prepay_->SetRows(plain_);
  prepay_->SetPlanned(planned_, outcomes);
  QStringList notes;
  for (const std::string& note : ScheduleNotes(schedule_)) notes << U(note);
  notes_->setText(notes.join(QLatin1Char('\n')));
  notes_->setVisible(!notes.isEmpty());
  if (shownRow_ && schedule_.FindRow(*shownRow_) == nullptr) shownRow_.reset();  // the row lost its loan
  FillRowChoice();
  ShowSelection();
}

void CRepaymentScheduleDlg::FillRowChoice() {
  rowChoice_->clear();
  rowChoice_->addItem(U(kWholePlanText));
  for (const RowSchedule& r : schedule_.rows) rowChoice_->addItem(U(ScheduleRowTitle(r.row, r.loan.loanName)), r.row);
  rowChoice_->setCurrentIndex(shownRow_ ? rowChoice_->findData(*shownRow_) : 0);
}

void CRepaymentScheduleDlg::ShowSelection() {
  const RowSchedule* row = shownRow_ ? schedule_.FindRow(*shownRow_) : nullptr;
  const ScheduleTotals& totals = row != nullptr ? row->totals : schedule_.totals;
  const std::vector<ScheduleYear>& years = row != nullptr ? row->years : schedule_.years;
  details_->setText(row != nullptr ? U(ScheduleRowDetails(row->loan)) : QString());

  const bool any = !schedule_.rows.empty();
  emptyNote_->setVisible(!any);
  summary_[0]->setText(any ? U(FormatScheduleManYen(WholeManYen(totals.principal))) : QString());
  summary_[1]->setText(any ? U(FormatScheduleYen(totals.totalRepaid)) : QString());
  summary_[2]->setText(any ? U(FormatScheduleYen(totals.totalInterest)) : QString());
  summary_[3]->setText(U(FormatPayoffYears(totals.years)));

  table_->setUpdatesEnabled(false);
  table_->setRowCount(static_cast<int>(years.size()));
  const Qt::Alignment right = Qt::AlignRight;
  for (int i = 0; i < static_cast<int>(years.size()); ++i) {
    const ScheduleYear& y = years[static_cast<size_t>(i)];
    SetCell(*table_, i, 0, QString::number(y.year), Qt::AlignHCenter);
    SetCell(*table_, i, 1, U(FormatScheduleYen(y.payment)), right);
    SetCell(*table_, i, 2, U(FormatScheduleYen(y.principal)), right);
    SetCell(*table_, i, 3, U(FormatScheduleYen(y.interest)), right);
    SetCell(*table_, i, 4, U(FormatScheduleYen(y.balance)), right);
  }
  table_->setUpdatesEnabled(true);

  // With prepayments the chart runs to the plain schedule's last year (the paid-off years at 0),
  // beside the balance without them.
  const RowSchedule* plainRow = row != nullptr ? plain_.FindRow(row->row) : nullptr;
  const std::vector<ScheduleYear>& without =
      row != nullptr ? (plainRow != nullptr ? plainRow->years : years) : plain_.years;
  if (planned_.empty() || without.size() <= years.size()) {
    FillScheduleChart(*chart_, years, font());
  } else {
    std::vector<ScheduleYear> padded = years;
    for (size_t i = years.size(); i < without.size(); ++i) {
      ScheduleYear y;
      y.year = static_cast<int32_t>(i + 1);
      padded.push_back(y);
    }
    FillScheduleChart(*chart_, padded, font());
  }
  ShowBalanceWithout(*chart_, years, planned_.empty() ? std::vector<ScheduleYear>{} : without);
  const ScheduleTotals* plainTotals =
      row != nullptr ? (plainRow != nullptr ? &plainRow->totals : nullptr) : &plain_.totals;
  prepay_->ShowComparison(planned_.empty() || plainTotals == nullptr || !any
                              ? QString()
                              : U(PrepaymentComparisonText(*plainTotals, totals)));
}

void CRepaymentScheduleDlg::SavePlanned() {
  SavePrepayments(*OpenSettingsStore(), planFileName_, planned_);
}

void CRepaymentScheduleDlg::SetPlanFileName(const QString& planFileName) {
  if (planFileName == planFileName_) return;
  std::unique_ptr<QSettings> store = OpenSettingsStore();
  std::vector<PlannedPrepayment> remembered = LoadPrepayments(*store, planFileName);
  const bool firstSave = planFileName_.isEmpty() && remembered.empty() && !planned_.empty();
  planFileName_ = planFileName;
  if (firstSave) {
    SavePrepayments(*store, planFileName_, planned_);
    return;
  }
  planned_ = std::move(remembered);
  prepay_->ShowMessage(QString(), false);
  Rebuild();
}

void CRepaymentScheduleDlg::OnAddPrepayment() {
  Refresh();
  QString error;
  const std::optional<PlannedPrepayment> typed = prepay_->Typed(&error);
  if (!typed) {
    prepay_->ShowMessage(error, true);
    return;
  }
  if (planned_.size() >= static_cast<size_t>(kMaxPlannedPrepayments)) {
    prepay_->ShowMessage(U(kTooManyPrepaymentsText), true);
    return;
  }
  // The rules decide on the schedule with the prepayments already planned; a repeated one is
  // added up to the first that they refuse.
  std::vector<int32_t> afters{typed->afterPayment};
  if (prepay_->repeatYears() > 0) {
    int32_t count = 0;
    if (const RowSchedule* row = plain_.FindRow(typed->row)) {
      const bool onBonus = typed->bonusPart || !row->monthly.HasPayments();
      count = onBonus ? row->bonus.paymentCount : row->monthly.paymentCount;
      afters = RepeatedAfterPayments(typed->afterPayment, prepay_->repeatYears(), onBonus, count,
                                     static_cast<size_t>(kMaxPlannedPrepayments) - planned_.size());
    }
    if (afters.empty()) afters = {typed->afterPayment};
  }
  std::vector<PlannedPrepayment> candidate = planned_;
  PrepaymentRefusal refused = PrepaymentRefusal::None;
  for (const int32_t after : afters) {
    PlannedPrepayment next = *typed;
    next.afterPayment = after;
    candidate.push_back(next);
    PrepaymentResults results;
    BuildPlanSchedule(plan_, WithPrepayments(candidate), &results);
    if (results.size() == candidate.size() && results.back().refused != PrepaymentRefusal::None) {
      refused = results.back().refused;
      candidate.pop_back();
      break;
    }
  }
  if (candidate.size() == planned_.size()) {
    prepay_->ShowMessage(U(PrepaymentRefusalText(refused)), true);
    return;
  }
  const size_t added = candidate.size() - planned_.size();
  if (refused != PrepaymentRefusal::None) {
    prepay_->ShowMessage(
        U("%1件を追加しました。それ以降は追加できません：").arg(added) + U(PrepaymentRefusalText(refused)), false);
    planned_ = std::move(candidate);
    SavePlanned();
    Rebuild();
    prepay_->list()->setCurrentRow(static_cast<int>(planned_.size()) - 1);
    return;
  }
  prepay_->ShowMessage(QString(), false);
  planned_ = std::move(candidate);
  SavePlanned();
  Rebuild();
  prepay_->list()->setCurrentRow(static_cast<int>(planned_.size()) - 1);
}

void CRepaymentScheduleDlg::OnRemovePrepayment(int index) {
  if (index < 0 || static_cast<size_t>(index) >= planned_.size()) return;
  planned_.erase(planned_.begin() + index);
  prepay_->ShowMessage(QString(), false);
  SavePlanned();
  Rebuild();
}

void CRepaymentScheduleDlg::OnPrint() {
  Refresh();
  // Portrait pages; the sheet sets its own landscape page again before it prints.
  output_->Print(
      QPageLayout::Portrait,
      [this](QPrinter& printer) { return PrintSchedulePages(printer, BuildSchedulePages(plan_, schedule_)); },
      [this] { OnSavePdf(); });
}

void CRepaymentScheduleDlg::OnSavePdf() {
  Refresh();
  output_->Save(dataFolder_, plan_.customerName, "pdf", nullptr, [this](const QString& path) {
    return WriteSchedulePdfFile(path, BuildSchedulePages(plan_, schedule_));
  });
}

void CRepaymentScheduleDlg::OnSaveExcel() {
  Refresh();
  output_->Save(dataFolder_, plan_.customerName, "xlsx", kExcelFilter,
                [this](const QString& path) { return WriteScheduleXlsxFile(path.toStdString(), plan_, schedule_); });
}

void CRepaymentScheduleDlg::OnSaveCsv() {
  Refresh();
  output_->Save(dataFolder_, plan_.customerName, "csv", kCsvFilter,
                [this](const QString& path) { return WriteScheduleCsvFile(path.toStdString(), schedule_); });
}

}  // namespace zorvik
