#include "app/plan_comparison_dlg.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/plan_file_commands.h"
#include "app/rate_scenario_dlg.h"
#include "app/repayment_schedule_dlg.h"
#include "app/window_output.h"
#include "core/plan_texts.h"
#include "core/rate_scenario.h"
#include "io/comparison_export.h"
#include "io/plan_file.h"
#include "print/render/comparison_page.h"
#include "print/render/plan_printer.h"
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

class QtComparisonOpenUi : public ComparisonOpenUi {
 public:
  QString GetOpenPath(QWidget* owner, const QString& folder) override {
    QFileDialog dialog(owner);
    ConfigurePlanFileDialog(dialog, false, folder, QString());
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().first();
  }
};

ComparisonOpenUi& DefaultComparisonOpenUi() {
  static QtComparisonOpenUi ui;
  return ui;
}

}  // namespace

CPlanComparisonDlg::CPlanComparisonDlg(const FundingPlan& current, const QString& dataFolder, QWidget* parent,
                                       PrintInteraction* print, ScheduleSaveUi* save, ComparisonOpenUi* open)
    : QDialog(parent),
      current_(current),
      dataFolder_(dataFolder),
      print_(print != nullptr ? print : &DefaultPrintInteraction()),
      save_(save != nullptr ? save : &DefaultScheduleSaveUi()),
      open_(open != nullptr ? open : &DefaultComparisonOpenUi()),
      output_(std::make_unique<WindowOutput>(this, *print_, *save_, U(kComparisonTitle), U("資金計画比較表"))) {
  setWindowTitle(U(kComparisonTitle));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                 Qt::WindowCloseButtonHint);
  setModal(false);
  entries_.push_back(Entry{true, QString(), FundingPlan{}});
  BuildControls();
  Refresh();
}

CPlanComparisonDlg::~CPlanComparisonDlg() = default;

void CPlanComparisonDlg::BuildControls() {
  auto* body = new QWidget(this);
  auto* layout = new QVBoxLayout(body);
  layout->setContentsMargins(12, 12, 12, 0);

  auto* top = new QHBoxLayout;
  auto* listLabel = new QLabel(U("比べるプラン(&L):"), this);
  list_ = new QListWidget(this);
  list_->setMaximumHeight(list_->fontMetrics().height() * 5 + 12);
  list_->setMinimumWidth(list_->fontMetrics().horizontalAdvance(QStringLiteral("D案  ")) + 320);
  listLabel->setBuddy(list_);
  auto* listColumn = new QVBoxLayout;
  listColumn->addWidget(listLabel);
  listColumn->addWidget(list_);
  top->addLayout(listColumn);
  auto* listButtons = new QVBoxLayout;
  const auto addButton = [this](QBoxLayout* box, const char* text, void (CPlanComparisonDlg::*slot)()) {
    auto* b = new QPushButton(U(text), this);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, slot);
    box->addWidget(b);
  };
  addButton(listButtons, "ファイルを追加(&A)...", &CPlanComparisonDlg::OnAdd);
  addButton(listButtons, "現在のプランを追加(&N)", &CPlanComparisonDlg::OnAddCurrent);
  addButton(listButtons, "上へ(&U)", &CPlanComparisonDlg::OnMoveUp);
  addButton(listButtons, "下へ(&W)", &CPlanComparisonDlg::OnMoveDown);
  addButton(listButtons, "外す(&R)", &CPlanComparisonDlg::OnRemove);
  listButtons->addStretch(1);
  top->addLayout(listButtons);
  auto* scenarioColumn = new QVBoxLayout;
  auto* scenarioLabel = new QLabel(U("金利シナリオ(&S):"), this);
  scenario_ = new QComboBox(this);
  for (const RateScenario& s : PresetScenarios()) scenario_->addItem(U(s.name));
  scenarioLabel->setBuddy(scenario_);
  connect(scenario_, &QComboBox::currentIndexChanged, this, &CPlanComparisonDlg::Refresh);
  scenarioColumn->addWidget(scenarioLabel);
  scenarioColumn->addWidget(scenario_);
  auto* typeNote = new QLabel(
      U("各融資の金利タイプは、金利シナリオの画面で選んだもの（選んでいなければ融資名から決まるもの）です。"), this);
  typeNote->setWordWrap(true);
  scenarioColumn->addWidget(typeNote);
  scenarioColumn->addStretch(1);
  top->addSpacing(16);
  top->addLayout(scenarioColumn, 1);
  layout->addLayout(top);

  auto* splitter = new QSplitter(Qt::Horizontal, this);
  table_ = new QTableWidget(0, 0, splitter);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setWordWrap(false);
  table_->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  table_->setAccessibleName(U(kComparisonTitle));
  table_->setMinimumWidth(420);
  chart_ = new QChart;
  chartView_ = new QChartView(chart_, splitter);
  chartView_->setRenderHint(QPainter::Antialiasing);
  chartView_->setMinimumSize(300, 280);
  chartView_->setAccessibleName(U("累計返済額と残高のグラフ"));
  splitter->addWidget(table_);
  splitter->addWidget(chartView_);
  splitter->setStretchFactor(0, 1);
  splitter->setStretchFactor(1, 1);
  splitter->setChildrenCollapsible(false);
  layout->addWidget(splitter, 1);
  legend_ = new QLabel(U(kCheaperLegend), this);
  layout->addWidget(legend_);

  auto* buttons = new QHBoxLayout;
  addButton(buttons, "印刷(&P)...", &CPlanComparisonDlg::OnPrint);
  addButton(buttons, "PDFに保存(&D)...", &CPlanComparisonDlg::OnSavePdf);
  addButton(buttons, "Excelに保存(&E)...", &CPlanComparisonDlg::OnSaveExcel);
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
  resize(1180, 760);
  FitToScreen(*this);
}

bool CPlanComparisonDlg::AddPlanFile(const QString& path) {
  if (entries_.size() >= kMaxComparedPlans) {
    print_->ShowWarning(this, U("比べられるプランは4つまでです。"), U(kComparisonTitle));
    return false;
  }
  Entry entry;
  entry.path = path;
  entry.plan.ClearForLoad();
  if (!QFileInfo(path).isFile() || !ReadPlanFile(entry.plan, path.toStdString())) {
    print_->ShowWarning(this, U("資金計画ファイルを読み込めませんでした。\n") + QDir::toNativeSeparators(path),
                        U(kComparisonTitle));
    return false;
  }
  entries_.push_back(std::move(entry));
  Refresh();
  return true;
}

void CPlanComparisonDlg::OnAdd() {
  const QString path = open_->GetOpenPath(this, dataFolder_);
  if (!path.isEmpty()) AddPlanFile(path);
}

void CPlanComparisonDlg::OnAddCurrent() {
  for (const Entry& e : entries_) {
    if (e.current) return;  // it is there already
  }
  if (entries_.size() >= kMaxComparedPlans) return;
  entries_.insert(entries_.begin(), Entry{true, QString(), FundingPlan{}});
  Refresh();
}

void CPlanComparisonDlg::OnRemove() {
  const int row = list_->currentRow();
  if (row < 0 || row >= static_cast<int>(entries_.size())) return;
  entries_.erase(entries_.begin() + row);
  Refresh();
  list_->setCurrentRow(std::min(row, list_->count() - 1));
}

void CPlanComparisonDlg::Move(int from, int to) {
  if (from < 0 || to < 0 || from >= static_cast<int>(entries_.size()) || to >= static_cast<int>(entries_.size())) {
    return;
  }
  std::swap(entries_[static_cast<size_t>(from)], entries_[static_cast<size_t>(to)]);
  Refresh();
  list_->setCurrentRow(to);
}

void CPlanComparisonDlg::OnMoveUp() {
  Move(list_->currentRow(), list_->currentRow() - 1);
}

void CPlanComparisonDlg::OnMoveDown() {
  Move(list_->currentRow(), list_->currentRow() + 1);
}

void CPlanComparisonDlg::FillList() {
  const int row = list_->currentRow();
  list_->clear();
  for (size_t i = 0; i < entries_.size(); ++i) {
    const Entry& e = entries_[i];
    const QString name = e.current ? U(kCurrentPlanLabel) : QFileInfo(e.path).completeBaseName();
    list_->addItem(U(PlanColumnTitle(i)) + QStringLiteral("  ") + name);
  }
  list_->setCurrentRow(std::min(row, list_->count() - 1));
}

void CPlanComparisonDlg::Refresh() {
  FillList();
  std::vector<ComparedPlan> plans;
  for (const Entry& e : entries_) {
    ComparedPlan p;
    p.plan = e.current ? current_ : e.plan;
    p.label = e.current ? kCurrentPlanLabel : QFileInfo(e.path).completeBaseName().toStdString();
    p.rowTypes = RememberedRateTypes(p.plan);
    plans.push_back(std::move(p));
  }
  const std::vector<RateScenario> presets = PresetScenarios();
  RateScenario scenario =
      presets[static_cast<size_t>(std::clamp(scenario_->currentIndex(), 0, static_cast<int>(presets.size()) - 1))];
  comparison_ = ComparePlans(plans, scenario);
  customerName_ = plans.empty() ? std::string() : plans.front().plan.customerName;
  dateText_ = plans.empty() ? std::string() : CreatedDateText(CreatedDate(plans.front().plan));

  table_->setUpdatesEnabled(false);
  table_->clear();
  const int n = static_cast<int>(comparison_.columnTitles.size());
  table_->setColumnCount(n);
  table_->setRowCount(static_cast<int>(comparison_.lines.size()));
  QStringList headers;
  for (int i = 0; i < n; ++i) {
    headers << U(comparison_.columnTitles[static_cast<size_t>(i)] + "  " +
                 comparison_.planLabels[static_cast<size_t>(i)]);
  }
  table_->setHorizontalHeaderLabels(headers);
  QStringList captions;
  for (int r = 0; r < static_cast<int>(comparison_.lines.size()); ++r) {
    const ComparisonLine& line = comparison_.lines[static_cast<size_t>(r)];
    captions << U(line.caption);
    for (int c = 0; c < n && c < static_cast<int>(line.cells.size()); ++c) {
      const ComparisonCell& cell = line.cells[static_cast<size_t>(c)];
      QString text = (cell.cheaper ? U(kCheaperMark) + QLatin1Char(' ') : QString()) + U(cell.text);
      if (!cell.difference.empty()) text += QStringLiteral("\n") + U(cell.difference);
      auto* item = new QTableWidgetItem(text);
      item->setTextAlignment((line.unit == ComparisonUnit::Text ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
      if (cell.cheaper) {
        QFont bold = item->font();
        bold.setBold(true);
        item->setFont(bold);
      }
      if (cell.sign != 0) item->setForeground(cell.sign > 0 ? QColor(0xC0, 0x00, 0x00) : QColor(0x00, 0x40, 0xC0));
      table_->setItem(r, c, item);
    }
  }
  table_->setVerticalHeaderLabels(captions);
  table_->setUpdatesEnabled(true);
  FillComparisonChart(*chart_, comparison_, font());
}

void CPlanComparisonDlg::OnPrint() {
  Refresh();
  output_->Print(
      QPageLayout::Landscape,
      [this](QPrinter& printer) {
        return PrintComparison(printer, comparison_, ComparisonHeading{customerName_, dateText_});
      },
      [this] { OnSavePdf(); });
}

void CPlanComparisonDlg::OnSavePdf() {
  Refresh();
  output_->Save(dataFolder_, customerName_, "pdf", nullptr, [this](const QString& path) {
    return WriteComparisonPdfFile(path, comparison_, ComparisonHeading{customerName_, dateText_});
  });
}

void CPlanComparisonDlg::OnSaveExcel() {
  Refresh();
  output_->Save(dataFolder_, customerName_, "xlsx", kExcelFilter, [this](const QString& path) {
    return WriteComparisonXlsxFile(path.toStdString(), comparison_, customerName_, dateText_);
  });
}

}  // namespace zorvik
