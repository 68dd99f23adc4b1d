#include "app/app_icon.h"

#include <QString>

// Outside any namespace: the registration function of res/zorvik.qrc is a global name.
static void RegisterZorvikResources() {
  Q_INIT_RESOURCE(zorvik);
}

namespace zorvik {

QIcon AppIcon() {
  static const bool registered = [] {
    RegisterZorvikResources();
    return true;
  }();
  (void)registered;
  return QIcon(QStringLiteral(":/zorvik/icon138.png"));
}

}  // namespace zorvik
