#include "app/tax_credit_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/prepayment_panel.h"
#include "app/rate_scenario_dlg.h"
#include "app/repayment_schedule_dlg.h"
#include "app/window_output.h"
#include "app/zorvik_app.h"
#include "core/plan_evaluation.h"
#include "core/rate_scenario.h"
#include "core/repayment_schedule.h"
#include "io/tax_credit_export.h"
#include "print/render/plan_printer.h"
#include "ui/window_fit.h"

namespace zorvik {
namespace {

QString U(const std::string& s) {
  return QString::fromStdString(s);
}
QString U(const char* s) {
  return QString::fromUtf8(s);
}

// The table file is small; anything larger is not a table.
constexpr qint64 kMaxTableBytes = 1 << 20;

std::optional<TaxCreditTable> ReadTable(const QString& path, QString& error) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    error = U("住宅ローン控除の表を開けません: ") + path;
    return std::nullopt;
  }
  const QByteArray bytes = file.read(kMaxTableBytes + 1);
  if (bytes.size() > kMaxTableBytes) {
    error = U("住宅ローン控除の表が大きすぎます: ") + path;
    return std::nullopt;
  }
  std::string why;
  auto table = ParseTaxCreditTable(bytes.toStdString(), &why);
  if (!table) error = U(why) + U("（") + path + U("）");
  return table;
}

// Whole yen typed with or without separators; none for a blank box; -1 for text that is not an amount.
std::optional<int64_t> YenIn(const QLineEdit& box) {
  QString t = box.text().trimmed();
  t.remove(QLatin1Char(',')).remove(QChar(u'，')).remove(QChar(u'円'));
  if (t.isEmpty()) return std::nullopt;
  bool ok = false;
  const qlonglong v = t.toLongLong(&ok);
  return ok && v >= 0 && v < 100'000'000'000LL ? std::optional<int64_t>(v) : std::optional<int64_t>(-1);
}

}  // namespace

LoadedTaxCreditTable LoadTaxCreditTable(const QString& userPath, const QString& shippedPath) {
  LoadedTaxCreditTable loaded;
  if (!userPath.isEmpty() && userPath != shippedPath && QFile::exists(userPath)) {
    QString error;
    loaded.table = ReadTable(userPath, error);
    if (loaded.table) {
      loaded.path = userPath;
      return loaded;
    }
    loaded.notice = error + U("\n付属の表を使います。");
  }
  QString error;
  loaded.table = ReadTable(shippedPath, error);
  if (loaded.table) {
    loaded.path = shippedPath;
  } else {
    loaded.error = error;
  }
  return loaded;
}

QString TaxCreditNote(const TaxCreditTable& table) {
  const QStringList ymd = U(table.checkedDate).split(QLatin1Char('-'));
  const QString date = ymd.size() == 3 ? U("%1年%2月%3日").arg(ymd[0], ymd[1], ymd[2]) : U(table.checkedDate);
  return U("概算です。制度は毎年改正されます（控除限度額の表: ") + date + U(" 確認）");
}

CTaxCreditDlg::CTaxCreditDlg(const FundingPlan& plan, const LoadedTaxCreditTable& table, QWidget* parent,
                             const QString& dataFolder, PrintInteraction* print, ScheduleSaveUi* save)
    : QDialog(parent),
      plan_(plan),
      loaded_(table),
      dataFolder_(dataFolder),
      print_(print != nullptr ? print : &DefaultPrintInteraction()),
      save_(save != nullptr ? save : &DefaultScheduleSaveUi()),
      output_(std::make_unique<WindowOutput>(this, *print_, *save_, U(kTaxCreditCaption), U(kTaxCreditCaption))) {
  setWindowTitle(U(kTaxCreditCaption));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setModal(false);
  BuildControls();
  Refresh();
}

CTaxCreditDlg::~CTaxCreditDlg() = default;

void CTaxCreditDlg::BuildControls() {
  const TaxCreditInputs defaults = DefaultTaxCreditInputs(plan_);
  auto* body = new QWidget(this);
  auto* layout = new QVBoxLayout(body);
  layout->setContentsMargins(12, 12, 12, 0);
  auto* top = new QHBoxLayout;
  auto* form = new QFormLayout;
  top->addLayout(form);

  auto* rowsLine = new QHBoxLayout;
  for (int r = 0; r < kLoanRowCount; ++r) {
    const LoanRow& row = plan_.rows[static_cast<size_t>(r)];
    rows_[static_cast<size_t>(r)] = new QCheckBox(U("%1行目").arg(r + 1), this);
    rows_[static_cast<size_t>(r)]->setChecked(defaults.rows[static_cast<size_t>(r)]);
    rows_[static_cast<size_t>(r)]->setVisible(row.loanAmount > 0);
    rows_[static_cast<size_t>(r)]->setToolTip(U(row.loanName));
    rowsLine->addWidget(rows_[static_cast<size_t>(r)]);
  }
  rowsLine->addStretch(1);
  form->addRow(U("対象の融資（10年以上）:"), rowsLine);

  entryYear_ = new QSpinBox(this);
  entryYear_->setRange(2000, 2100);
  entryYear_->setValue(defaults.entryYear);
  entryYear_->setSuffix(U("年"));
  form->addRow(U("入居年(&Y):"), entryYear_);
  auto* firstLine = new QHBoxLayout;
  firstYear_ = new QSpinBox(this);
  firstYear_->setRange(2000, 2100);
  firstYear_->setValue(defaults.firstPaymentYear);
  firstYear_->setSuffix(U("年"));
  firstMonth_ = new QSpinBox(this);
  firstMonth_->setRange(1, 12);
  firstMonth_->setValue(defaults.firstPaymentMonth);
  firstMonth_->setSuffix(U("月"));
  firstYear_->setAccessibleName(U("初回返済の年"));
  firstMonth_->setAccessibleName(U("初回返済の月"));
  firstLine->addWidget(firstYear_);
  firstLine->addWidget(firstMonth_);
  firstLine->addStretch(1);
  form->addRow(U("初回返済:"), firstLine);
  kind_ = new QComboBox(this);
  kind_->addItems({U(HousingKindText(HousingKind::NewOrResale)), U(HousingKindText(HousingKind::Existing))});
  form->addRow(U("住宅の区分(&S):"), kind_);
  performance_ = new QComboBox(this);
  for (const auto p : {HousingPerformance::Certified, HousingPerformance::Zeh, HousingPerformance::EnergySaving,
                       HousingPerformance::Other}) {
    performance_->addItem(U(HousingPerformanceText(p)));
  }
  performance_->setCurrentIndex(static_cast<int>(defaults.performance));
  form->addRow(U("性能(&N):"), performance_);
  childRearing_ = new QCheckBox(U("子育て世帯・若者夫婦世帯(&W)"), this);
  form->addRow(QString(), childRearing_);

  auto* form2 = new QFormLayout;
  top->addSpacing(24);
  top->addLayout(form2);
  floor_ = new QComboBox(this);
  floor_->addItems({U("50㎡以上"), U("40㎡以上50㎡未満")});
  form2->addRow(U("床面積(&F):"), floor_);
  scenario_ = new QComboBox(this);
  for (const RateScenario& preset : PresetScenarios()) scenario_->addItem(U(preset.name));
  scenario_->setToolTip(U("年末残高を、この金利の推移と返済予定表の画面の繰上返済で計算します。"));
  form2->addRow(U("金利シナリオ(&R):"), scenario_);
  connect(scenario_, &QComboBox::currentIndexChanged, this, &CTaxCreditDlg::Refresh);
  cost_ = new QLineEdit(U(FormatScheduleYen(defaults.acquisitionCost)), this);
  form2->addRow(U("取得対価（円）(&A):"), cost_);
  income_ = new QLineEdit(this);
  income_->setPlaceholderText(U("空欄: 所得要件の範囲内"));
  form2->addRow(U("合計所得金額（円）(&I):"), income_);
  incomeTax_ = new QLineEdit(this);
  incomeTax_->setPlaceholderText(U("空欄: 控除額の上限だけを表示"));
  form2->addRow(U("所得税額（円）(&T):"), incomeTax_);
  taxable_ = new QLineEdit(this);
  taxable_->setPlaceholderText(U("住民税からの控除の計算に使います"));
  form2->addRow(U("課税総所得金額等（円）(&X):"), taxable_);
  // Each box wide enough for its hint.
  for (QLineEdit* box : {cost_, income_, incomeTax_, taxable_}) {
    box->setMinimumWidth(box->fontMetrics().horizontalAdvance(U("空欄: 控除額の上限だけを表示")) + 24);
  }
  top->addStretch(1);
  layout->addLayout(top);

  message_ = new QLabel(this);
  message_->setWordWrap(true);
  message_->setStyleSheet(QStringLiteral("color: #C00000;"));
  layout->addWidget(message_);

  table_ = new QTableWidget(0, 6, this);
  table_->setHorizontalHeaderLabels(
      {U("年"), U("年末残高"), U("控除額"), U("うち所得税"), U("うち住民税"), U("控除しきれない額")});
  table_->verticalHeader()->setVisible(false);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  table_->setMinimumHeight(table_->fontMetrics().height() * 10);
  table_->setAccessibleName(U("住宅ローン控除の表"));
  layout->addWidget(table_, 1);
  total_ = new QLabel(this);
  total_->setStyleSheet(QStringLiteral("font-weight: bold;"));
  layout->addWidget(total_);
  note_ = new QLabel(this);
  note_->setWordWrap(true);
  layout->addWidget(note_);

  for (QCheckBox* box : rows_) connect(box, &QCheckBox::toggled, this, &CTaxCreditDlg::Refresh);
  connect(childRearing_, &QCheckBox::toggled, this, &CTaxCreditDlg::Refresh);
  for (QSpinBox* box : {entryYear_, firstYear_, firstMonth_}) {
    connect(box, &QSpinBox::valueChanged, this, &CTaxCreditDlg::Refresh);
  }
  for (QComboBox* box : {kind_, performance_, floor_}) {
    connect(box, &QComboBox::currentIndexChanged, this, &CTaxCreditDlg::Refresh);
  }
  for (QLineEdit* box : {cost_, income_, incomeTax_, taxable_}) {
    connect(box, &QLineEdit::editingFinished, this, &CTaxCreditDlg::Refresh);
  }

  auto* buttons = new QHBoxLayout;
  auto* print = new QPushButton(U("印刷"), this);
  print->setAutoDefault(false);
  connect(print, &QPushButton::clicked, this, &CTaxCreditDlg::OnPrint);
  buttons->addWidget(print);
  auto* pdf = new QPushButton(U("PDFに保存"), this);
  pdf->setAutoDefault(false);
  connect(pdf, &QPushButton::clicked, this, &CTaxCreditDlg::OnSavePdf);
  buttons->addWidget(pdf);
  auto* excel = new QPushButton(U("Excelに保存"), this);
  excel->setAutoDefault(false);
  connect(excel, &QPushButton::clicked, this, &CTaxCreditDlg::OnSaveExcel);
  buttons->addWidget(excel);
  buttons->addStretch(1);
  auto* close = new QPushButton(U("閉じる"), this);
  close->setAutoDefault(false);
  connect(close, &QPushButton::clicked, this, &QDialog::close);
  buttons->addWidget(close);
  buttons->setContentsMargins(12, 0, 12, 0);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 12);
  outer->addWidget(ScrollingBody(body, this), 1);
  outer->addLayout(buttons);
  resize(900, 640);
  FitToScreen(*this);
}

TaxCreditInputs CTaxCreditDlg::Inputs() const {
  TaxCreditInputs in = DefaultTaxCreditInputs(plan_);
  for (size_t r = 0; r < rows_.size(); ++r) in.rows[r] = plan_.rows[r].loanAmount > 0 && rows_[r]->isChecked();
  in.entryYear = entryYear_->value();
  in.firstPaymentYear = firstYear_->value();
  in.firstPaymentMonth = firstMonth_->value();
  in.kind = kind_->currentIndex() == 1 ? HousingKind::Existing : HousingKind::NewOrResale;
  in.performance = static_cast<HousingPerformance>(std::clamp(performance_->currentIndex(), 0, 3));
  in.childRearing = childRearing_->isChecked();
  in.smallFloor = floor_->currentIndex() == 1;
  if (const auto cost = YenIn(*cost_); cost && *cost >= 0) in.acquisitionCost = *cost;
  if (const auto income = YenIn(*income_); income && *income >= 0) in.totalIncome = *income;
  const auto tax = YenIn(*incomeTax_);
  const auto taxable = YenIn(*taxable_);
  in.incomeTax = tax && *tax >= 0 ? *tax : -1;
  in.taxableIncome = taxable && *taxable >= 0 ? *taxable : -1;
  return in;
}

void CTaxCreditDlg::Refresh() {
  QStringList messages;
  if (!loaded_.notice.isEmpty()) messages << loaded_.notice;
  for (QLineEdit* box : {cost_, income_, incomeTax_, taxable_}) {
    const auto v = YenIn(*box);
    const bool bad = v && *v < 0;
    box->setStyleSheet(bad ? QStringLiteral("background: #FFE0E0;") : QString());
    if (bad) messages << U("金額は円単位の整数で入力してください: ") + box->text();
  }
  table_->setRowCount(0);
  total_->clear();
  estimate_ = TaxCreditEstimate{};
  if (!loaded_.table) {
    messages << loaded_.error;
    message_->setText(messages.join(QLatin1Char('\n')));
    note_->clear();
    return;
  }
  note_->setText(TaxCreditNote(*loaded_.table));
  // The balances of the chosen rate scenario, with the prepayments planned for this plan file.
  const std::vector<RateScenario> presets = PresetScenarios();
  RateScenario scenario =
      presets[static_cast<size_t>(std::clamp(scenario_->currentIndex(), 0, static_cast<int>(presets.size()) - 1))];
  scenario.rowTypes = RememberedRateTypes(plan_);
  scenario.prepayments = LoadPrepayments(*OpenSettingsStore(), planFileName_);
  estimate_ = EstimateTaxCredit(BuildPlanSchedule(plan_, scenario), Inputs(), *loaded_.table);
  if (!estimate_.error.empty()) messages << U(estimate_.error);
  if (estimate_.incomeAboveLimit) messages << U("合計所得金額が所得要件を超えるため、控除は受けられません。");
  message_->setText(messages.join(QLatin1Char('\n')));
  message_->setVisible(!messages.isEmpty());

  const bool split = !estimate_.upperBound;
  table_->setRowCount(static_cast<int>(estimate_.years.size()));
  for (int i = 0; i < static_cast<int>(estimate_.years.size()); ++i) {
    const TaxCreditRow& y = estimate_.years[static_cast<size_t>(i)];
    const QString cells[] = {U("%1年").arg(y.year),
                             U(FormatScheduleYen(y.yearEndBalance)),
                             U(FormatScheduleYen(y.credit.credit)),
                             split ? U(FormatScheduleYen(y.credit.fromIncomeTax)) : U("－"),
                             split ? U(FormatScheduleYen(y.credit.fromResidentTax)) : U("－"),
                             split ? U(FormatScheduleYen(y.credit.notReceived)) : U("－")};
    for (int c = 0; c < 6; ++c) {
      auto* item = new QTableWidgetItem(cells[c]);
      item->setTextAlignment((c == 0 ? Qt::AlignHCenter : Qt::AlignRight) | Qt::AlignVCenter);
      table_->setItem(i, c, item);
    }
  }
  if (!estimate_.years.empty()) {
    total_->setText(U("控除額の合計: ") + U(FormatScheduleYen(estimate_.total)) +
                    (split ? U("（控除しきれない額 ") + U(FormatScheduleYen(estimate_.totalNotReceived)) + U("）")
                           : U("（所得税額を入れないときは控除額の上限です）")));
  }
}

WriteResult CTaxCreditDlg::WriteExcel(const QString& path) {
  Refresh();
  const std::string note = loaded_.table ? TaxCreditNote(*loaded_.table).toStdString() : std::string();
  return WriteTaxCreditXlsxFile(path.toStdString(), Inputs(), estimate_, note);
}

void CTaxCreditDlg::SetPlanFileName(const QString& planFileName) {
  if (planFileName == planFileName_) return;
  planFileName_ = planFileName;
  Refresh();
}

void CTaxCreditDlg::OnSaveExcel() {
  Refresh();
  output_->Save(dataFolder_, plan_.customerName, "xlsx", kExcelFilter,
                [this](const QString& path) { return WriteExcel(path); });
}

TaxCreditPage CTaxCreditDlg::Page() const {
  TaxCreditPage page;
  page.title = U("住宅ローン控除（概算）");
  if (!QString::fromStdString(plan_.customerName).trimmed().isEmpty()) {
    page.title += U("　") + U(plan_.customerName) + U(" 様");
  }
  const TaxCreditInputs in = Inputs();
  page.conditions
      << U("入居年: %1年　最初の月払い: %2年%3月").arg(in.entryYear).arg(in.firstPaymentYear).arg(in.firstPaymentMonth)
      << U("住宅: ") + U(HousingKindText(in.kind)) + U("・") + U(HousingPerformanceText(in.performance)) +
             (in.childRearing ? U("・子育て世帯・若者夫婦世帯") : U("・一般"))
      << U("取得対価: ") + U(FormatScheduleYen(in.acquisitionCost)) + U("　借入限度額: ") +
             U(FormatScheduleYen(estimate_.limit));
  for (int c = 0; c < table_->columnCount(); ++c) page.headers << table_->horizontalHeaderItem(c)->text();
  for (int r = 0; r < table_->rowCount(); ++r) {
    QStringList cells;
    for (int c = 0; c < table_->columnCount(); ++c)
      cells << (table_->item(r, c) ? table_->item(r, c)->text() : QString());
    page.rows << cells;
  }
  if (!estimate_.years.empty()) {
    const bool split = !estimate_.upperBound;
    int64_t income = 0;
    int64_t resident = 0;
    for (const TaxCreditRow& y : estimate_.years) {
      income += y.credit.fromIncomeTax;
      resident += y.credit.fromResidentTax;
    }
    page.totalRow << U("合計") << QString() << U(FormatScheduleYen(estimate_.total))
                  << (split ? U(FormatScheduleYen(income)) : U("－"))
                  << (split ? U(FormatScheduleYen(resident)) : U("－"))
                  << (split ? U(FormatScheduleYen(estimate_.totalNotReceived)) : U("－"));
  }
  if (!message_->text().isEmpty()) page.notes << message_->text();
  if (estimate_.upperBound && !estimate_.years.empty())
    page.notes << U("所得税額を入れていないため、控除額は上限です。");
  if (!note_->text().isEmpty()) page.notes << note_->text();
  return page;
}

void CTaxCreditDlg::OnSavePdf() {
  Refresh();
  output_->Save(dataFolder_, plan_.customerName, "pdf", nullptr,
                [this](const QString& path) { return WriteTaxCreditPdfFile(path, Page()); });
}

void CTaxCreditDlg::OnPrint() {
  Refresh();
  output_->Print(
      QPageLayout::Portrait, [this](QPrinter& printer) { return PrintTaxCreditPage(printer, Page()); },
      [this] { OnSavePdf(); });
}

}  // namespace zorvik
