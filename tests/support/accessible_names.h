#pragma once
// What a screen reader or UI automation finds in a window: its accessibility tree walked from the
// window down, as the accessibility bus presents it.

#include <QAccessible>
#include <QAccessibleInterface>
#include <QStringList>
#include <QWidget>

namespace zorvik {

// The controls a user acts on: text boxes, drop-downs and buttons of every kind.
inline bool IsActedOnRole(QAccessible::Role role) {
  switch (role) {
    case QAccessible::EditableText:
    case QAccessible::ComboBox:
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::SpinBox:
      return true;
    default:
      return false;
  }
}

// The name a control is known by. A drop-down's name on Linux is its current item; what it is
// comes from its accessible name or from the label tied to it (a buddy label).
inline QString ControlName(QAccessibleInterface* node) {
  if (node->role() != QAccessible::ComboBox) return node->text(QAccessible::Name).trimmed();
  if (const auto* widget = qobject_cast<const QWidget*>(node->object()); widget != nullptr) {
    if (!widget->accessibleName().trimmed().isEmpty()) return widget->accessibleName().trimmed();
  }
  for (const auto& [label, relation] : node->relations(QAccessible::Label)) {
    if (label != nullptr && !label->text(QAccessible::Name).trimmed().isEmpty()) {
      return label->text(QAccessible::Name).trimmed();
    }
  }
  return {};
}

// Every such control of `window`'s tree without an accessible name, described by its class and
// object name; with `names`, the names of the named ones are added there.
inline QStringList UnnamedControls(QWidget* window, QStringList* names = nullptr) {
  QStringList unnamed;
  // Depth-limited: list views below drop-downs hold items, never controls of their own.
  const auto walk = [&](const auto& self, QAccessibleInterface* node, int depth) -> void {
    if (node == nullptr || !node->isValid() || depth > 24) return;
    if (IsActedOnRole(node->role())) {
      const QString name = ControlName(node);
      if (name.isEmpty()) {
        const QObject* object = node->object();
        unnamed << (object != nullptr
                        ? QString::fromUtf8(object->metaObject()->className()) + QLatin1Char(' ') + object->objectName()
                        : QStringLiteral("(no object)"));
      } else if (names != nullptr) {
        *names << name;
      }
    }
    for (int i = 0; i < node->childCount(); ++i) self(self, node->child(i), depth + 1);
  };
  walk(walk, QAccessible::queryAccessibleInterface(window), 0);
  return unnamed;
}

}  // namespace zorvik
