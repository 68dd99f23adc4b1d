#include "print/render/scenario_render.h"

#include <QColor>
#include <cerrno>

namespace zorvik {

// Placeholders until the page and chart are drawn.
void FillScenarioChart(QChart&, const ScenarioReport&, const QFont&) {}
QColor ScenarioColor(size_t) {
  return QColor(Qt::black);
}
void RenderScenarioPage(QPainter&, const QRectF&, const ScenarioReport&) {}
WriteResult WriteScenarioPdfFile(const QString&, const ScenarioReport&) {
  return WriteFailed(ENOSYS);
}
bool PrintScenarioReport(QPrinter&, const ScenarioReport&) {
  return false;
}

}  // namespace zorvik
