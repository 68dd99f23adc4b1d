#include "print/render/sheet_renderer.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "core/control_ids.h"
#include "core/memory_form_view.h"
#include "print/render/text_fit.h"
#include "tests/print/render/pdf_text.h"

namespace zorvik {
namespace {

// These tests fill the texts in an in-memory form and print what it shows.
PlanTexts TextsOf(const PlanFormView& view) {
  return ReadPlanTexts([&view](int id) { return view.Text(id); });
}

TEST(SheetFontTest, FaceHasJapaneseGlyphs) {
  const QString family = SheetFontFamily();
  ASSERT_FALSE(family.isEmpty());
  if (QFontDatabase::hasFamily(QStringLiteral("IPAMincho"))) {
    EXPECT_TRUE(family == QStringLiteral("IPAMincho") || family == QStringLiteral("IPA明朝") ||
                family.contains(QStringLiteral("ＭＳ")) || family.contains(QStringLiteral("MS Mincho")))
        << family.toStdString();
  }
  const QFont font = MakeSheetQFont(93);
  EXPECT_EQ(font.pixelSize(), 93);
  EXPECT_EQ(font.weight(), QFont::Normal);
  const QFontMetrics metrics(font);
  EXPECT_TRUE(metrics.inFont(QChar(0x8CC7)));  // 資
  EXPECT_TRUE(metrics.inFont(QChar(0x5186)));  // 円
}

struct DoubleByteRow {
  char32_t c;
  bool doubleByte;
};

class DoubleByteTest : public ::testing::TestWithParam<DoubleByteRow> {};

TEST_P(DoubleByteTest, Classifies) {
  EXPECT_EQ(IsDoubleByteChar(GetParam().c), GetParam().doubleByte);
}

INSTANTIATE_TEST_SUITE_P(Characters, DoubleByteTest,
                         ::testing::Values(DoubleByteRow{U'A', false}, DoubleByteRow{U' ', false},
                                           DoubleByteRow{U'~', false}, DoubleByteRow{U'ｱ', false},
                                           DoubleByteRow{U'ﾟ', false}, DoubleByteRow{U'｡', false},
                                           DoubleByteRow{U'あ', true}, DoubleByteRow{U'資', true},
                                           DoubleByteRow{U'－', true}, DoubleByteRow{U'（', true},
                                           DoubleByteRow{U'　', true}, DoubleByteRow{U'％', true},
                                           DoubleByteRow{U'ￂ', true}, DoubleByteRow{U'\U0001F600', true}));

struct WrapRow {
  const char* text;
  const char* widthOf;  // the box is exactly as wide as this text
  std::vector<const char*> lines;
};

class WrapTest : public ::testing::TestWithParam<WrapRow> {};

TEST_P(WrapTest, BreaksAtBlanksAndBetweenDoubleByteCharacters) {
  const WrapRow& row = GetParam();
  const QFontMetrics metrics(MakeSheetQFont(93));
  const int width = metrics.horizontalAdvance(QString::fromUtf8(row.widthOf));
  const QStringList lines = WrapSheetText(QString::fromUtf8(row.text), metrics, width);
  QStringList expected;
  for (const char* l : row.lines) expected << QString::fromUtf8(l);
  EXPECT_EQ(lines, expected) << row.text << " -> " << lines.join(QLatin1Char('|')).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Texts, WrapTest,
                         ::testing::Values(
                             // The three captions of the required-funds block in boxes of five and four characters.
                             WrapRow{"所要資金－借入額", "所要資金－", {"所要資金－", "借入額"}},
                             WrapRow{" 諸費用 （概算）", "（概算）", {" 諸費用", "（概算）"}},
                             WrapRow{"自己資金必要額", "自己資金", {"自己資金", "必要額"}},
                             // Wide enough: one line.
                             WrapRow{"自己資金必要額", "自己資金必要額", {"自己資金必要額"}},
                             // Any two double-byte characters may be separated, even across punctuation.
                             WrapRow{"あいうえお", "あい", {"あい", "うえ", "お"}},
                             // Words of single-byte characters stay whole; blanks at the break are dropped.
                             WrapRow{"ABC DEF", "ABC D", {"ABC", "DEF"}}, WrapRow{"ABC   DEF", "ABC D", {"ABC", "DEF"}},
                             WrapRow{"ABCDEFGHIJ", "ABC", {"ABCDEFGHIJ"}},
                             // No break between a double-byte and a single-byte character.
                             WrapRow{"ローンA型", "ロー", {"ロー", "ンA型"}},
                             // Half-width katakana are single bytes: no break inside.
                             WrapRow{"ﾌﾗｯﾄ35", "ﾌ", {"ﾌﾗｯﾄ35"}},
                             // Line feeds break too.
                             WrapRow{"所要\n資金", "所要資金", {"所要", "資金"}}, WrapRow{"", "あ", {""}}));

PageModel FilledModel(int width, int height, MemoryFormView& view) {
  return BuildPageModel(width, height, 96, TextsOf(view), PlanDate{2026, 12, 8});
}

bool IsDark(QRgb p) {
  return qGray(p) < 128;
}

int DarkPixels(const QImage& image, const QRect& area) {
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) n += IsDark(image.pixel(x, y)) ? 1 : 0;
  }
  return n;
}

// A quarter of the reference resolution keeps the image small (1693 x 1180).
class RenderImageTest : public ::testing::Test {
 protected:
  QImage Render(MemoryFormView& view) {
    model_ = FilledModel(1693, 1180, view);
    QImage image(1693, 1180, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    RenderPageModel(painter, model_);
    painter.end();
    return image;
  }
  QRect RectOf(int n) const {
    int seen = 0;
    for (const PageOp& op : model_.ops) {
      if (op.kind == PageOpKind::Rect && seen++ == n) {
        return QRect(op.box.left, op.box.top, op.box.right - op.box.left, op.box.bottom - op.box.top);
      }
    }
    return {};
  }
  PageModel model_;
};

TEST_F(RenderImageTest, BoxesHaveBordersOnTheirLeftAndTopEdges) {
  MemoryFormView view;
  const QImage image = Render(view);
  const QRect name = RectOf(26);  // loan-name box of row 1
  for (int x = name.left() + 2; x < name.right() - 2; x += 37) {
    EXPECT_TRUE(IsDark(image.pixel(x, name.top()))) << x;
    EXPECT_TRUE(IsDark(image.pixel(x, name.bottom()))) << x;  // last covered row
  }
  EXPECT_TRUE(IsDark(image.pixel(name.left(), name.center().y())));
  EXPECT_TRUE(IsDark(image.pixel(name.right(), name.center().y())));
  // The empty box is white inside.
  EXPECT_EQ(DarkPixels(image, name.adjusted(2, 2, -2, -2)), 0);
}

TEST_F(RenderImageTest, LongTextIsClippedToItsBox) {
  MemoryFormView view;
  view.SetText(ids::kLoanName[0], "とても長い融資の名前がどこまでも続いて隣の欄にはみ出しそうなもの");
  const QImage image = Render(view);
  const QRect name = RectOf(26);
  const QRect method = RectOf(27);
  EXPECT_GT(DarkPixels(image, name.adjusted(2, 2, -2, -2)), 100);
  // Nothing of the name leaks into the (empty) method box of the same row.
  EXPECT_EQ(DarkPixels(image, method.adjusted(2, 2, -2, -2)), 0);
}

TEST_F(RenderImageTest, ValuesAreRightAlignedAndCaptionsCentred) {
  MemoryFormView view;
  view.SetText(ids::kLoanAmount[0], "3,000万");
  view.SetSelection(ids::kMethod[0], 0);
  const QImage image = Render(view);
  const QRect amount = RectOf(30).adjusted(2, 2, -2, -2);
  const QRect leftThird(amount.left(), amount.top(), amount.width() / 3, amount.height());
  const QRect rightThird(amount.right() - amount.width() / 3, amount.top(), amount.width() / 3, amount.height());
  EXPECT_EQ(DarkPixels(image, leftThird), 0);
  EXPECT_GT(DarkPixels(image, rightThird), 50);
  const QRect method = RectOf(27).adjusted(2, 2, -2, -2);
  const int third = method.width() / 3;
  EXPECT_GT(DarkPixels(image, QRect(method.left() + third, method.top(), third, method.height())), 20);
}

// A printed value too wide for its cell is drawn smaller, never as its last digits alone.
TEST(PrintedTextFitTest, SmallerThenHashesForNumbersAndFromTheStartForNames) {
  const QFont font = MakeSheetQFont(40);
  const auto width = [&font](const char* text) {
    return QFontMetrics(font).horizontalAdvance(QString::fromUtf8(text));
  };
  const struct {
    const char* text;
    int boxWidth;
    const char* shown;
    bool smaller;
    bool fromStart;
  } rows[] = {
      {"3,000万", width("3,000万"), "3,000万", false, false},
      {"2,147,483,647万", width("2,147,483,647万") * 5 / 6, "2,147,483,647万", true, false},
      {"2,147,483,647万", width("2,147,483,647万") / 3, "###", false, false},
      {"とても長い融資の名前", width("とても長い融資の名前") / 3, "とても長い融資の名前", true, true},
      // Units or dashes without a digit are captions, drawn from their start.
      {"万円", width("万円") / 3, "万円", true, true},
      {"－－－－", width("－－－－") / 3, "－－－－", true, true},
  };
  for (const char* caption : {"万円", "－－－－", "", "，．"})
    EXPECT_FALSE(LooksLikeNumber(QString::fromUtf8(caption)));
  for (const auto& r : rows) {
    const FittedText fit = FitTextToPixelWidth(QString::fromUtf8(r.text), font, r.boxWidth, 26);
    EXPECT_EQ(fit.text, QString::fromUtf8(r.shown)) << r.text << " in " << r.boxWidth;
    EXPECT_EQ(fit.font.pixelSize() < 40, r.smaller) << r.text << " in " << r.boxWidth;
    EXPECT_EQ(fit.fromStart, r.fromStart) << r.text;
    if (r.smaller && !r.fromStart) {
      EXPECT_LE(QFontMetrics(fit.font).horizontalAdvance(fit.text), r.boxWidth);
    }
  }
}

// Tiny printable areas (a misreported printer) draw without trouble: zero-sized boxes and fonts
// of less than a pixel are simply not drawn or drawn at one pixel.
TEST(RenderTinyPageTest, DegenerateSizesDrawNothingHarmful) {
  MemoryFormView view;
  view.SetText(ids::kCustomerName, "山田 太郎");
  view.SetText(ids::kFundsMinusLoansLabel, "所要資金－借入額");
  for (const QSize size : {QSize(1, 1), QSize(11, 5), QSize(120, 80), QSize(700, 480)}) {
    const PageModel model = FilledModel(size.width(), size.height(), view);
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    RenderPageModel(painter, model);
    EXPECT_TRUE(painter.end()) << size.width();
  }
}

TEST(PdfTest, OnePageA4LandscapeWithSearchableText) {
  MemoryFormView view;
  view.SetText(ids::kCustomerName, "山田 太郎");
  view.SetText(ids::kLoanAmount[0], "3,000万");
  view.SetText(ids::kTotalLoan, "3,000万");
  const PageModel model =
      BuildPageModel(kReferencePageWidth, kReferencePageHeight, 96, TextsOf(view), PlanDate{2026, 12, 8});
  QByteArray bytes;
  QBuffer buffer(&bytes);
  ASSERT_TRUE(buffer.open(QIODevice::WriteOnly));
  ASSERT_TRUE(WritePageModelPdf(buffer, model));
  buffer.close();
  ASSERT_TRUE(bytes.startsWith("%PDF-"));
  EXPECT_TRUE(bytes.contains("/Count 1\n") || bytes.contains("/Count 1 ")) << "one page";
  EXPECT_TRUE(bytes.contains("/MediaBox [0 0 842.000000 595.000000]")) << "A4 landscape, in points";

  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("sheet.pdf"));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
  file.close();
  const auto text = PdfText(path);
  if (!text) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
  EXPECT_TRUE(text->contains(QStringLiteral("資 金 計 画 表"))) << text->toStdString();
  EXPECT_TRUE(text->contains(QStringLiteral("3,000万")));
  EXPECT_TRUE(text->contains(QStringLiteral("山田 太郎")));
  EXPECT_TRUE(text->contains(QStringLiteral("年収に対する返済割合")));

  // The printable area is centred on the A4 sheet: the date ends at the right edge of the
  // heading band, x = 6150 pixels of the area, 121 pixels in from the paper's left edge.
  const auto boxes = PdfText(path, {QStringLiteral("-bbox")});
  ASSERT_TRUE(boxes.has_value());
  const QRegularExpression word(
      QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" "
                     "yMax=\"([0-9.]+)\">作成</word>"));
  const QRegularExpressionMatch m = word.match(*boxes);
  ASSERT_TRUE(m.hasMatch()) << boxes->toStdString();
  const double expectedRight = (6150 + 121) / 600.0 * 72.0;
  EXPECT_NEAR(m.captured(3).toDouble(), expectedRight, 1.0);
  const double bandBottom = (944 + 119) / 600.0 * 72.0;
  EXPECT_LT(m.captured(4).toDouble(), bandBottom + 1.0);
  EXPECT_GT(m.captured(4).toDouble(), bandBottom - 6.0);
}

}  // namespace
}  // namespace zorvik
