#include "app/rate_scenario_dlg.h"

#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QSplitter>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/prepayment_panel.h"
#include "app/repayment_schedule_dlg.h"
#include "app/window_output.h"
#include "app/zorvik_app.h"
#include "io/schedule_export.h"
#include "print/render/plan_printer.h"
#include "print/render/scenario_render.h"
#include "ui/window_fit.h"

namespace zorvik {
namespace {

QString U(const std::string& s) {
  return QString::fromStdString(s);
}
QString U(const char* s) {
  return QString::fromUtf8(s);
}

constexpr const char* kSettingsGroup = "RateScenario";
// Below this width the chart's amounts no longer fit beside its axes.
constexpr int kChartMinimumWidth = 520;
constexpr int kChartMinimumHeight = 340;
// The columns a first opening shows: 据え置き and three of the presets.
constexpr std::array<int, kMaxScenarioColumns> kDefaultColumns = {0, 1, 2, 3};

// A product name as a settings key (a slash would open a subgroup).
QString TypeKey(const std::string& productName) {
  QString name = U(productName).trimmed();
  name.replace(QLatin1Char('/'), QLatin1Char('_')).replace(QLatin1Char('\\'), QLatin1Char('_'));
  return QStringLiteral("%1/Type/%2").arg(QLatin1String(kSettingsGroup), name);
}

// "0" 全期間固定, "1" 変動, "2:YEARS[:RATE]" 固定期間選択.
QString TypeText(const RowRateType& t) {
  if (t.type == RateType::FullFixed) return QStringLiteral("0");
  if (t.type == RateType::Variable) return QStringLiteral("1");
  QString text = QStringLiteral("2:%1").arg(t.fixedYears);
  if (t.rateAfterFixed) text += QStringLiteral(":%1").arg(*t.rateAfterFixed, 0, 'f', 3);
  return text;
}

std::optional<RowRateType> ParseTypeText(const QString& text) {
  const QStringList parts = text.split(QLatin1Char(':'));
  RowRateType t;
  if (parts.value(0) == QLatin1String("0")) return t;
  if (parts.value(0) == QLatin1String("1")) {
    t.type = RateType::Variable;
    return t;
  }
  bool ok = false;
  const int years = parts.value(1).toInt(&ok);
  if (parts.value(0) != QLatin1String("2") || !ok || years < 1 || years > 50) return std::nullopt;
  t.type = RateType::FixedPeriod;
  t.fixedYears = years;
  if (parts.size() > 2) {
    const double rate = parts[2].toDouble(&ok);
    if (ok && rate >= 0.0 && rate < 100.0) t.rateAfterFixed = rate;
  }
  return t;
}

bool HasLoan(const LoanRow& row) {
  return row.loanAmount > 0;
}

}  // namespace

std::array<RowRateType, kLoanRowCount> RememberedRateTypes(const FundingPlan& plan) {
  std::unique_ptr<QSettings> store = OpenSettingsStore();
  std::array<RowRateType, kLoanRowCount> types{};
  for (size_t r = 0; r < types.size(); ++r) {
    const std::string& name = plan.rows[r].loanName;
    const auto remembered = ParseTypeText(store->value(TypeKey(name)).toString());
    types[r] = remembered ? *remembered : RateTypeFromProductName(name);
  }
  return types;
}

CRateScenarioDlg::CRateScenarioDlg(const FundingPlan& plan, const QString& dataFolder, QWidget* parent,
                                   PrintInteraction* print, ScheduleSaveUi* save)
    : QDialog(parent),
      plan_(plan),
      dataFolder_(dataFolder),
      print_(print != nullptr ? print : &DefaultPrintInteraction()),
      save_(save != nullptr ? save : &DefaultScheduleSaveUi()),
      output_(std::make_unique<WindowOutput>(this, *print_, *save_, U(kScenarioTitle), U(kScenarioTitle))) {
  setWindowTitle(U(kScenarioTitle));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                 Qt::WindowCloseButtonHint);
  setModal(false);
  BuildControls();
  Refresh();
}

CRateScenarioDlg::~CRateScenarioDlg() = default;

void CRateScenarioDlg::BuildControls() {
  auto* body = new QWidget(this);
  auto* layout = new QVBoxLayout(body);
  layout->setContentsMargins(12, 12, 12, 0);
  layout->setSpacing(8);

  // The loan rows and their 金利タイプ.
  auto* rowsBox = new QGridLayout;
  rowsBox->setHorizontalSpacing(8);
  rowsBox->setVerticalSpacing(4);
  rowsBox->addWidget(new QLabel(U("融資"), this), 0, 0);
  typeHeader_ = new QLabel(U("金利タイプ(&T)"), this);
  rowsBox->addWidget(typeHeader_, 0, 1);
  rowsBox->addWidget(new QLabel(U("固定期間"), this), 0, 2);
  rowsBox->addWidget(new QLabel(U("固定期間後の金利（空欄: 同じ金利）"), this), 0, 3);
  for (int r = 0; r < kLoanRowCount; ++r) {
    RowControls& c = rows_[static_cast<size_t>(r)];
    c.title = new QLabel(this);
    c.type = new QComboBox(this);
    c.type->addItems({U("全期間固定"), U("変動"), U("固定期間選択")});
    c.years = new QSpinBox(this);
    c.years->setRange(1, 50);
    c.years->setValue(10);
    c.years->setSuffix(U("年"));
    c.rateAfter = new QLineEdit(this);
    c.rateAfter->setPlaceholderText(U("例 1.500"));
    c.rateAfter->setMaximumWidth(c.rateAfter->fontMetrics().horizontalAdvance(QStringLiteral("99.999％")) * 2);
    c.type->setAccessibleName(U("%1行目の金利タイプ").arg(r + 1));
    c.years->setAccessibleName(U("%1行目の固定期間").arg(r + 1));
    c.rateAfter->setAccessibleName(U("%1行目の固定期間後の金利").arg(r + 1));
    rowsBox->addWidget(c.title, r + 1, 0);
    rowsBox->addWidget(c.type, r + 1, 1);
    rowsBox->addWidget(c.years, r + 1, 2);
    rowsBox->addWidget(c.rateAfter, r + 1, 3);
    const auto changed = [this, r] {
      if (filling_) return;
      RememberRowType(r);
      Refresh();
    };
    connect(c.type, &QComboBox::activated, this, changed);
    connect(c.years, &QSpinBox::valueChanged, this, changed);
    connect(c.rateAfter, &QLineEdit::editingFinished, this, changed);
  }
  rowsBox->setColumnStretch(4, 1);
  layout->addLayout(rowsBox);

  // The scenario columns.
  auto* columnsBox = new QGridLayout;
  columnsBox->setHorizontalSpacing(8);
  std::unique_ptr<QSettings> store = OpenSettingsStore();
  const std::vector<RateScenario> presets = PresetScenarios();
  for (size_t i = 0; i < kMaxScenarioColumns; ++i) {
    ColumnControls& c = columns_[i];
    // The letters name the columns of the table; the digits are the keys (C and D belong to the buttons).
    auto* label = new QLabel(U("シナリオ %1(&%2):").arg(QChar(u'A' + static_cast<char16_t>(i))).arg(i + 1), this);
    c.choice = new QComboBox(this);
    for (const RateScenario& p : presets) c.choice->addItem(U(p.name));
    c.choice->addItem(U(kCustomPathChoice));
    if (i > 0) c.choice->addItem(U(kNoScenarioChoice));
    label->setBuddy(c.choice);
    c.path = new QLineEdit(this);
    c.path->setPlaceholderText(U("年目:ポイント（例 2:+1.0,6:+2.0）"));
    c.path->setAccessibleName(U("シナリオ%1の金利の推移").arg(QChar(u'A' + static_cast<char16_t>(i))));
    const QString key = QStringLiteral("%1/Column%2").arg(QLatin1String(kSettingsGroup)).arg(i);
    const int stored = c.choice->findText(store->value(key).toString());
    c.choice->setCurrentIndex(stored >= 0 ? stored : kDefaultColumns[i]);
    c.path->setText(store->value(key + QStringLiteral("Path")).toString());
    c.path->setEnabled(c.choice->currentText() == U(kCustomPathChoice));
    // Two scenarios a line, each with its path under its choice.
    const int line = static_cast<int>(i / 2) * 2;
    const int col = static_cast<int>(i % 2) * 2;
    columnsBox->addWidget(label, line, col);
    columnsBox->addWidget(c.choice, line, col + 1);
    columnsBox->addWidget(c.path, line + 1, col + 1);
    connect(c.choice, &QComboBox::activated, this, [this, i] {
      columns_[i].path->setEnabled(columns_[i].choice->currentText() == U(kCustomPathChoice));
      RememberColumns();
      Refresh();
    });
    connect(c.path, &QLineEdit::editingFinished, this, [this] {
      RememberColumns();
      Refresh();
    });
  }
  columnsBox->setColumnStretch(4, 1);
  layout->addLayout(columnsBox);
  pathError_ = new QLabel(this);
  pathError_->setStyleSheet(QStringLiteral("color: #C00000;"));
  pathError_->setWordWrap(true);
  pathError_->hide();
  layout->addWidget(pathError_);

  // How payments follow the rate.
  auto* reviewLine = new QHBoxLayout;
  fiveYearRule_ = new QCheckBox(U("5年ルール・125％ルール(&5)"), this);
  fiveYearRule_->setChecked(
      store->value(QStringLiteral("%1/FiveYearRule").arg(QLatin1String(kSettingsGroup)), true).toBool());
  recomputeUnchanged_ = new QCheckBox(U("金利が変わらない見直しでも再計算(&U)"), this);
  recomputeUnchanged_->setChecked(
      store->value(QStringLiteral("%1/RecomputeUnchanged").arg(QLatin1String(kSettingsGroup)), false).toBool());
  reviewLine->addWidget(fiveYearRule_);
  reviewLine->addWidget(recomputeUnchanged_);
  reviewLine->addStretch(1);
  layout->addLayout(reviewLine);
  for (QCheckBox* box : {fiveYearRule_, recomputeUnchanged_}) {
    connect(box, &QCheckBox::toggled, this, [this] {
      RememberColumns();
      Refresh();
    });
  }
  review_ = new QLabel(this);
  review_->setWordWrap(true);
  layout->addWidget(review_);
  prepayments_ = new QLabel(this);
  prepayments_->setWordWrap(true);
  prepayments_->hide();
  layout->addWidget(prepayments_);

  warning_ = new QLabel(U(kUnpaidInterestWarning), this);
  warning_->setStyleSheet(QStringLiteral("color: #C00000; font-weight: bold;"));
  warning_->hide();
  layout->addWidget(warning_);

  // The table beside the chart.
  splitter_ = new QSplitter(Qt::Horizontal, this);
  auto* splitter = splitter_;
  // The table sits at the left of a holder of its own: the splitter is never narrower than its
  // children allow, and the table is only as wide as its columns.
  auto* tableHolder = new QWidget(splitter);
  auto* tableLine = new QHBoxLayout(tableHolder);
  tableLine->setContentsMargins(0, 0, 0, 0);
  table_ = new QTableWidget(0, 0, tableHolder);
  tableLine->addWidget(table_, 1);  // up to its maximum width; the space beyond stays empty
  tableLine->addStretch(0);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setTabKeyNavigation(false);  // Tab moves on to the buttons; the arrows move in the table
  table_->setAlternatingRowColors(true);
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
  // Columns as wide as the widest amount; a long path is cut with "…" and shown whole as a tip.
  table_->setWordWrap(false);
  table_->setTextElideMode(Qt::ElideRight);
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table_->horizontalHeader()->setDefaultSectionSize(
      table_->fontMetrics().horizontalAdvance(QStringLiteral("99,999,999,999円")) + 16);
  table_->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  table_->setAccessibleName(U("金利シナリオの表"));
  table_->setMinimumWidth(420);
  chart_ = new QChart;
  chartView_ = new QChartView(chart_, splitter);
  chartView_->setRenderHint(QPainter::Antialiasing);
  chartView_->setMinimumSize(kChartMinimumWidth, kChartMinimumHeight);
  chartView_->setAccessibleName(U("返済額と残高のグラフ"));
  splitter->addWidget(tableHolder);
  splitter->addWidget(chartView_);
  splitter->setStretchFactor(0, 0);
  splitter->setStretchFactor(1, 1);
  splitter->setChildrenCollapsible(false);
  layout->addWidget(splitter, 1);

  auto* buttons = new QHBoxLayout;
  auto addButton = [this, buttons](const char* text, void (CRateScenarioDlg::*slot)()) {
    auto* b = new QPushButton(U(text), this);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, slot);
    buttons->addWidget(b);
  };
  addButton("印刷(&P)...", &CRateScenarioDlg::OnPrint);
  addButton("PDFに保存(&D)...", &CRateScenarioDlg::OnSavePdf);
  addButton("Excelに保存(&E)...", &CRateScenarioDlg::OnSaveExcel);
  addButton("CSVに保存(&C)...", &CRateScenarioDlg::OnSaveCsv);
  buttons->addStretch(1);
  auto* close = new QPushButton(U("閉じる"), this);
  close->setAutoDefault(false);
  connect(close, &QPushButton::clicked, this, &QDialog::close);
  buttons->addWidget(close);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 12);
  outer->setSpacing(10);
  outer->addWidget(ScrollingBody(body, this), 1);
  buttons->setContentsMargins(12, 0, 12, 0);
  outer->addLayout(buttons);
  resize(1180, 760);
  FitToScreen(*this);
}

void CRateScenarioDlg::FillRows() {
  filling_ = true;
  std::unique_ptr<QSettings> store = OpenSettingsStore();
  for (int r = 0; r < kLoanRowCount; ++r) {
    const LoanRow& row = plan_.rows[static_cast<size_t>(r)];
    RowControls& c = rows_[static_cast<size_t>(r)];
    const bool shown = HasLoan(row);
    for (QWidget* w : std::initializer_list<QWidget*>{c.title, c.type, c.years, c.rateAfter}) w->setVisible(shown);
    if (!shown) continue;
    c.title->setText(U("%1行目  %2").arg(r + 1).arg(U(row.loanName).trimmed()));
    if (shownNames_[static_cast<size_t>(r)] == row.loanName) continue;
    shownNames_[static_cast<size_t>(r)] = row.loanName;
    const RowRateType t = RememberedRateTypes(plan_)[static_cast<size_t>(r)];
    c.type->setCurrentIndex(static_cast<int>(t.type));
    if (t.fixedYears > 0) c.years->setValue(t.fixedYears);
    c.rateAfter->setText(t.rateAfterFixed ? QString::number(*t.rateAfterFixed, 'f', 3) : QString());
  }
  // "金利タイプ(&T)" leads to the first row shown.
  typeHeader_->setBuddy(nullptr);
  for (const RowControls& c : rows_) {
    if (typeHeader_->buddy() == nullptr && !c.type->isHidden()) typeHeader_->setBuddy(c.type);
  }
  for (const RowControls& c : rows_) {
    const bool period = c.type->currentIndex() == static_cast<int>(RateType::FixedPeriod);
    c.years->setEnabled(period);
    c.rateAfter->setEnabled(period);
  }
  filling_ = false;
}

RowRateType CRateScenarioDlg::RowType(int row) const {
  const RowControls& c = rows_[static_cast<size_t>(row)];
  RowRateType t;
  t.type = static_cast<RateType>(std::clamp(c.type->currentIndex(), 0, 2));
  if (t.type == RateType::FixedPeriod) {
    t.fixedYears = c.years->value();
    bool ok = false;
    const double rate = c.rateAfter->text().trimmed().remove(QChar(u'％')).remove(QLatin1Char('%')).toDouble(&ok);
    if (ok && rate >= 0.0 && rate < 100.0) t.rateAfterFixed = rate;
  }
  return t;
}

void CRateScenarioDlg::RememberRowType(int row) {
  const LoanRow& loan = plan_.rows[static_cast<size_t>(row)];
  if (U(loan.loanName).trimmed().isEmpty()) return;
  OpenSettingsStore()->setValue(TypeKey(loan.loanName), TypeText(RowType(row)));
}

void CRateScenarioDlg::RememberColumns() const {
  std::unique_ptr<QSettings> store = OpenSettingsStore();
  for (size_t i = 0; i < kMaxScenarioColumns; ++i) {
    const QString key = QStringLiteral("%1/Column%2").arg(QLatin1String(kSettingsGroup)).arg(i);
    store->setValue(key, columns_[i].choice->currentText());
    store->setValue(key + QStringLiteral("Path"), columns_[i].path->text());
  }
  store->setValue(QStringLiteral("%1/FiveYearRule").arg(QLatin1String(kSettingsGroup)), fiveYearRule_->isChecked());
  store->setValue(QStringLiteral("%1/RecomputeUnchanged").arg(QLatin1String(kSettingsGroup)),
                  recomputeUnchanged_->isChecked());
}

std::vector<RateScenario> CRateScenarioDlg::Scenarios() {
  std::array<RowRateType, kLoanRowCount> types{};
  for (int r = 0; r < kLoanRowCount; ++r) types[static_cast<size_t>(r)] = RowType(r);
  PaymentReview review;
  review.fiveYearRule = fiveYearRule_->isChecked();
  review.recomputeWhenUnchanged = recomputeUnchanged_->isChecked();
  const std::vector<RateScenario> presets = PresetScenarios();
  // The prepayments planned in the 返済予定表 window for this plan apply under every scenario.
  const std::vector<PlannedPrepayment> planned = LoadPrepayments(*OpenSettingsStore(), planFileName_);
  prepayments_->setText(
      planned.empty()
          ? QString()
          : U("返済予定表の画面で設定した繰上返済 %1件を、どのシナリオにも含めています。").arg(planned.size()));
  prepayments_->setVisible(!planned.empty());
  std::vector<RateScenario> scenarios;
  QStringList errors;
  for (size_t i = 0; i < kMaxScenarioColumns; ++i) {
    const ColumnControls& c = columns_[i];
    const QString choice = c.choice->currentText();
    RateScenario s;
    if (choice == U(kNoScenarioChoice)) continue;
    if (choice == U(kCustomPathChoice)) {
      std::string error;
      const auto path = ParseRatePath(c.path->text().trimmed().toStdString(), &error);
      c.path->setStyleSheet(path ? QString() : QStringLiteral("background: #FFE0E0;"));
      if (!path) {
        errors << U("シナリオ%1: ").arg(QChar(u'A' + static_cast<char16_t>(i))) + U(error);
        continue;
      }
      s.path = *path;
      s.name = RatePathText(*path);
    } else {
      c.path->setStyleSheet(QString());
      const int index = c.choice->currentIndex();
      if (index < 0 || static_cast<size_t>(index) >= presets.size()) continue;
      s = presets[static_cast<size_t>(index)];
    }
    s.rowTypes = types;
    s.review = review;
    s.prepayments = planned;
    scenarios.push_back(std::move(s));
  }
  pathError_->setText(errors.join(QLatin1Char('\n')));
  pathError_->setVisible(!errors.isEmpty());
  return scenarios;
}

void CRateScenarioDlg::SetPlanFileName(const QString& planFileName) {
  if (planFileName == planFileName_) return;
  planFileName_ = planFileName;
  Refresh();
}

void CRateScenarioDlg::Refresh() {
  FillRows();
  report_ = BuildScenarioReport(plan_, Scenarios());
  ShowReport();
}

void CRateScenarioDlg::ShowReport() {
  review_->setText(U(report_.reviewText));
  bool unpaid = false;
  for (const ScenarioColumn& c : report_.columns) unpaid = unpaid || c.summary.unpaidInterest > 0;
  warning_->setVisible(unpaid);

  table_->setUpdatesEnabled(false);
  table_->clear();
  table_->setColumnCount(static_cast<int>(report_.columns.size()));
  table_->setRowCount(static_cast<int>(report_.table.size()));
  QStringList headers;
  for (size_t c = 0; c < report_.columns.size(); ++c) {
    headers << U("シナリオ %1").arg(QChar(u'A' + static_cast<char16_t>(c)));
  }
  table_->setHorizontalHeaderLabels(headers);
  QStringList captions;
  for (int r = 0; r < static_cast<int>(report_.table.size()); ++r) {
    const ScenarioTableLine& line = report_.table[static_cast<size_t>(r)];
    captions << U(line.caption);
    for (int c = 0; c < static_cast<int>(line.cells.size()) && c < table_->columnCount(); ++c) {
      auto* item = new QTableWidgetItem(U(line.cells[static_cast<size_t>(c)]));
      item->setToolTip(item->text());
      item->setTextAlignment((line.money ? Qt::AlignRight : Qt::AlignHCenter) | Qt::AlignVCenter);
      item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
      if (line.warning) item->setForeground(QColor(0xC0, 0x00, 0x00));
      table_->setItem(r, c, item);
    }
  }
  table_->setVerticalHeaderLabels(captions);
  for (int c = 0; c < table_->columnCount(); ++c) {
    if (QTableWidgetItem* h = table_->horizontalHeaderItem(c)) h->setForeground(ScenarioColor(static_cast<size_t>(c)));
  }
  table_->setUpdatesEnabled(true);
  // The table is as wide as its columns; the chart takes the rest of the width.
  int width = table_->verticalHeader()->sizeHint().width() + 2 * table_->frameWidth() +
              table_->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 4;
  for (int c = 0; c < table_->columnCount(); ++c) width += table_->columnWidth(c);
  table_->setMaximumWidth(width);
  table_->setMinimumWidth(std::min(width, 420));
  ArrangeTableAndChart();
  FillScenarioChart(*chart_, report_, font());
}

Qt::Orientation CRateScenarioDlg::tableAndChart() const {
  return splitter_->orientation();
}

void CRateScenarioDlg::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  ArrangeTableAndChart();
}

void CRateScenarioDlg::ArrangeTableAndChart() {
  const int tableWidth = table_->maximumWidth();
  // The body's margins and the scroll bar of the window's body come off the window's width.
  const int room = width() - 24 - style()->pixelMetric(QStyle::PM_ScrollBarExtent) - splitter_->handleWidth();
  if (room >= tableWidth + kChartMinimumWidth) {
    splitter_->setOrientation(Qt::Horizontal);
    table_->setMinimumHeight(0);
    splitter_->setSizes({tableWidth, room - tableWidth});
    return;
  }
  // One above the other: the table shows all its lines, so that only the window scrolls.
  splitter_->setOrientation(Qt::Vertical);
  int height = table_->horizontalHeader()->sizeHint().height() + 2 * table_->frameWidth() +
               table_->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  for (int r = 0; r < table_->rowCount(); ++r) height += table_->verticalHeader()->sectionSize(r);
  table_->setMinimumHeight(height);
  splitter_->setSizes({height, kChartMinimumHeight});
}

void CRateScenarioDlg::OnPrint() {
  Refresh();
  output_->Print(
      QPageLayout::Landscape, [this](QPrinter& printer) { return PrintScenarioReport(printer, report_); },
      [this] { OnSavePdf(); });
}

void CRateScenarioDlg::OnSavePdf() {
  Refresh();
  output_->Save(dataFolder_, plan_.customerName, "pdf", nullptr,
                [this](const QString& path) { return WriteScenarioPdfFile(path, report_); });
}

void CRateScenarioDlg::OnSaveExcel() {
  Refresh();
  output_->Save(dataFolder_, plan_.customerName, "xlsx", kExcelFilter,
                [this](const QString& path) { return WriteScenarioXlsxFile(path.toStdString(), report_); });
}

void CRateScenarioDlg::OnSaveCsv() {
  Refresh();
  if (report_.columns.empty()) return;
  // A CSV file holds one schedule: with several scenarios the user picks which.
  size_t index = 0;
  if (report_.columns.size() > 1) {
    QStringList names;
    for (size_t c = 0; c < report_.columns.size(); ++c) {
      names
          << U("シナリオ %1  %2").arg(QChar(u'A' + static_cast<char16_t>(c))).arg(U(report_.columns[c].scenario.name));
    }
    bool ok = false;
    const QString picked =
        QInputDialog::getItem(this, U(kScenarioTitle), U("CSVに保存するシナリオ:"), names, 0, false, &ok);
    if (!ok) return;
    index = static_cast<size_t>(std::max<qsizetype>(0, names.indexOf(picked)));
  }
  output_->Save(dataFolder_, plan_.customerName, "csv", kCsvFilter, [this, index](const QString& path) {
    return WriteScenarioCsvFile(path.toStdString(), report_.columns[index].schedule);
  });
}

}  // namespace zorvik
