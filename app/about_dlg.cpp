#include "app/about_dlg.h"

#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>

#include "app/info_dialog_units.h"

namespace zorvik {

namespace {

constexpr int kStripWidth = 46;
constexpr int kStripHeight = 242;

// A house with a roof, a door and a window, its base centred at (cx, baseY), `w` wide.
void DrawHouse(QPainter& p, qreal cx, qreal baseY, qreal w, const QColor& wall, const QColor& roof) {
  const qreal h = w * 0.62;
  const QRectF body(cx - w / 2, baseY - h, w, h);
  p.fillRect(body, wall);
  QPainterPath roofPath;
  roofPath.moveTo(cx - w / 2 - w * 0.12, baseY - h);
  roofPath.lineTo(cx, baseY - h - w * 0.5);
  roofPath.lineTo(cx + w / 2 + w * 0.12, baseY - h);
  roofPath.closeSubpath();
  p.fillPath(roofPath, roof);
  p.fillRect(QRectF(cx - w * 0.12, baseY - h * 0.55, w * 0.24, h * 0.55), roof.darker(130));
  p.fillRect(QRectF(cx + w * 0.2, baseY - h * 0.8, w * 0.18, w * 0.16), QColor(255, 244, 180));
}

}  // namespace

QPixmap AboutStripPixmap() {
  QPixmap strip(kStripWidth, kStripHeight);
  strip.fill(Qt::white);
  QPainter p(&strip);
  p.setRenderHint(QPainter::Antialiasing);

  // Sky from deep blue at the top to a pale morning tone near the ground.
  QLinearGradient sky(0, 0, 0, kStripHeight);
  sky.setColorAt(0.0, QColor(24, 52, 120));
  sky.setColorAt(0.65, QColor(96, 150, 210));
  sky.setColorAt(1.0, QColor(236, 222, 180));
  p.fillRect(strip.rect(), sky);

  // A few coins rising like a bar chart: the plan's savings and repayments.
  const QColor coin(232, 190, 60);
  for (int i = 0; i < 4; ++i) {
    const qreal y = 180 - i * 14;
    p.setPen(QPen(coin.darker(140), 1));
    p.setBrush(coin);
    p.drawEllipse(QRectF(8 + i * 6, y, 14, 7));
  }

  // The name of the program, top to bottom.
  QFont font = InfoDialogGothicFont();
  font.setPixelSize(20);
  font.setBold(true);
  p.setFont(font);
  p.setPen(QColor(255, 255, 255));
  const QString name = QStringLiteral("ゾルビク");
  for (int i = 0; i < name.size(); ++i) {
    p.drawText(QRectF(0, 8 + i * 24, kStripWidth, 24), Qt::AlignCenter, name.mid(i, 1));
  }

  // Ground and a house.
  p.fillRect(QRectF(0, 222, kStripWidth, 20), QColor(96, 148, 72));
  DrawHouse(p, kStripWidth / 2.0, 224, 28, QColor(250, 246, 236), QColor(178, 58, 48));
  p.end();
  return strip;
}

QPixmap ProgramIconPixmap(int size) {
  const QIcon resource(QStringLiteral(":/zorvik/icon138.png"));
  if (!resource.isNull() && !resource.availableSizes().isEmpty()) return resource.pixmap(size, size);

  QPixmap icon(size, size);
  icon.fill(Qt::transparent);
  QPainter p(&icon);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(36, 84, 160));
  p.drawRoundedRect(QRectF(0, 0, size, size), size * 0.18, size * 0.18);
  DrawHouse(p, size / 2.0, size * 0.86, size * 0.56, QColor(250, 246, 236), QColor(214, 70, 56));
  p.end();
  return icon;
}

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("CAboutDlg"));
  setWindowTitle(QString::fromUtf8(kAboutCaption));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  setFont(InfoDialogGothicFont());
  const InfoDialogUnits du = InfoDialogUnits::ForFont(font());
  setFixedSize(du.X(212), du.Y(167));

  // The strip is shown at its own size from the top-left corner inside a sunken frame.
  auto* strip = new QLabel(this);
  strip->setObjectName(QStringLiteral("bitmap146"));
  strip->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  strip->setLineWidth(1);
  strip->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  const QPixmap picture = AboutStripPixmap();
  strip->setPixmap(picture);
  const QPoint origin = du.Rect(1, 1, 0, 0).topLeft();
  strip->setGeometry(origin.x(), origin.y(), picture.width() + 2, picture.height() + 2);

  auto* icon = new QLabel(this);
  icon->setObjectName(QStringLiteral("icon138"));
  const QRect iconRect = du.Rect(112, 8, 20, 20);
  icon->setGeometry(iconRect);
  icon->setPixmap(ProgramIconPixmap(32));
  icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  auto* topLine = new QFrame(this);
  topLine->setFrameStyle(QFrame::HLine | QFrame::Sunken);
  topLine->setGeometry(du.X(44), du.Y(32), du.X(160), 2);

  auto* product = new QLabel(QString::fromUtf8(kAboutProductText), this);
  product->setObjectName(QStringLiteral("product"));
  product->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  product->setGeometry(du.Rect(44, 43, 160, 24));

  auto* bottomLine = new QFrame(this);
  bottomLine->setFrameStyle(QFrame::HLine | QFrame::Sunken);
  bottomLine->setGeometry(du.X(44), du.Y(136), du.X(160), 2);

  auto* rights = new QLabel(QString::fromUtf8(kAboutRightsNotice), this);
  rights->setObjectName(QStringLiteral("rights"));
  rights->setAlignment(Qt::AlignCenter);
  rights->setGeometry(du.Rect(36, 120, 172, 8));

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("1"));
  ok->setDefault(true);
  ok->setGeometry(du.Rect(108, 144, 40, 16));
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  ok->setFocus();
}

}  // namespace zorvik
