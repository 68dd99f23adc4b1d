// Zorvik: funding plan sheet for home loans.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QLabel label(QString::fromUtf8("資金計画表 ： ゾルビク"));
  label.show();
  return app.exec();
}
