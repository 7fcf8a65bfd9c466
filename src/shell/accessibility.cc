#include "shell/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QDialog>
#include <QFrame>
#include <QTextDocumentFragment>

#include "shell/page.h"
#include "shell/pages/page_controls.h"
#include "shell/skin_widgets.h"

namespace vrdk::shell {
namespace {

// A widget's caption as plain text: rich text without its tags, the
// leading blanks some captions carry left out.
QString PlainCaption(const QString& text) {
  if (Qt::mightBeRichText(text))
    return QTextDocumentFragment::fromHtml(text).toPlainText().trimmed();
  return text.simplified();
}

QAccessible::Role RoleOf(ControlRole role, bool picture) {
  switch (role) {
    case ControlRole::kButton:
      return QAccessible::Button;
    case ControlRole::kCheckBox:
      return QAccessible::CheckBox;
    case ControlRole::kRadioButton:
      return QAccessible::RadioButton;
    case ControlRole::kPageTab:
      return QAccessible::PageTab;
    case ControlRole::kMenuItem:
      return QAccessible::MenuItem;
    case ControlRole::kNone:
      break;
  }
  return picture ? QAccessible::Graphic : QAccessible::StaticText;
}

class ControlLabelAccessible : public QAccessibleWidget {
 public:
  explicit ControlLabelAccessible(ControlLabel* label)
      : QAccessibleWidget(label, RoleOf(label->Role(), qobject_cast<PictureLabel*>(label))) {}

  ControlLabel* Label() const { return static_cast<ControlLabel*>(widget()); }

  QAccessible::Role role() const override {
    return RoleOf(Label()->Role(), qobject_cast<PictureLabel*>(Label()) != nullptr);
  }

  QString text(QAccessible::Text kind) const override {
    if (kind == QAccessible::Name) {
      const QString name = widget()->accessibleName();
      return name.isEmpty() ? PlainCaption(Label()->text()) : name;
    }
    return QAccessibleWidget::text(kind);
  }

  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    const ControlRole role = Label()->Role();
    if (role == ControlRole::kNone) return state;
    state.focusable = true;
    if (role == ControlRole::kCheckBox || role == ControlRole::kRadioButton) {
      state.checkable = true;
      state.checked = Label()->Checked();
    }
    if (role == ControlRole::kPageTab) {
      state.selectable = true;
      state.selected = Label()->Checked();
      state.checked = Label()->Checked();
    }
    if (role == ControlRole::kMenuItem) state.selectable = true;
    return state;
  }

  QStringList actionNames() const override {
    switch (Label()->Role()) {
      case ControlRole::kNone:
        return {};
      case ControlRole::kCheckBox:
        return {toggleAction()};
      default:
        return {pressAction()};
    }
  }

  void doAction(const QString& name) override {
    if (!widget()->isEnabled() || !actionNames().contains(name)) return;
    Label()->Activate();
  }

  QStringList keyBindingsForAction(const QString& name) const override {
    if (!actionNames().contains(name)) return {};
    return {QStringLiteral("Space"), QStringLiteral("Enter")};
  }
};

class StepSliderAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
 public:
  explicit StepSliderAccessible(StepSlider* slider)
      : QAccessibleWidget(slider, QAccessible::Slider) {}

  StepSlider* Slider() const { return static_cast<StepSlider*>(widget()); }

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }

  QString text(QAccessible::Text kind) const override {
    if (kind == QAccessible::Value) return QString::number(Slider()->CurrentStep());
    return QAccessibleWidget::text(kind);
  }

  QVariant currentValue() const override { return Slider()->CurrentStep(); }
  void setCurrentValue(const QVariant& value) override {
    const int step = std::clamp(value.toInt(), 1, std::max(Slider()->Steps(), 1));
    if (step != Slider()->CurrentStep()) emit Slider()->StepChosen(step);
  }
  QVariant maximumValue() const override { return Slider()->Steps(); }
  QVariant minimumValue() const override { return 1; }
  QVariant minimumStepSize() const override { return 1; }
};

// Is `widget` a part the tree leaves out: a picture that only decorates, or
// a colour swatch (its label is the control)?
bool LeftOut(const QWidget* widget) {
  if (widget->isWindow()) return true;
  if (const auto* picture = qobject_cast<const PictureLabel*>(widget)) {
    return picture->Role() == ControlRole::kNone;
  }
  return qobject_cast<const ColourSwatch*>(widget) != nullptr;
}

// A widget that holds pictures: its children without the decorating ones.
class PaneAccessible : public QAccessibleWidget {
 public:
  PaneAccessible(QWidget* widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}

  int childCount() const override { return Kept().size(); }
  QAccessibleInterface* child(int index) const override {
    const QList<QWidget*> kept = Kept();
    if (index < 0 || index >= kept.size()) return nullptr;
    return QAccessible::queryAccessibleInterface(kept[index]);
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    if (child == nullptr) return -1;
    return Kept().indexOf(qobject_cast<QWidget*>(child->object()));
  }

 private:
  QList<QWidget*> Kept() const {
    QList<QWidget*> kept;
    for (QObject* object : widget()->children()) {
      auto* child = qobject_cast<QWidget*>(object);
      if (child != nullptr && !LeftOut(child)) kept.append(child);
    }
    return kept;
  }
};

QAccessibleInterface* Factory(const QString& class_name, QObject* object) {
  // Asked once per class up the object's hierarchy: answer for its own.
  if (object == nullptr || class_name != QLatin1String(object->metaObject()->className())) {
    return nullptr;
  }
  if (auto* label = qobject_cast<ControlLabel*>(object)) return new ControlLabelAccessible(label);
  if (auto* slider = qobject_cast<StepSlider*>(object)) return new StepSliderAccessible(slider);
  auto* widget = qobject_cast<QWidget*>(object);
  if (widget == nullptr) return nullptr;
  if (qobject_cast<Page*>(widget) != nullptr) return new PaneAccessible(widget, QAccessible::Pane);
  if (qobject_cast<QDialog*>(widget) != nullptr) {
    return new PaneAccessible(widget, QAccessible::Dialog);
  }
  if (qobject_cast<QFrame*>(widget) != nullptr &&
      widget->objectName().startsWith(QLatin1String("Pnl_"))) {
    return new PaneAccessible(widget, QAccessible::PopupMenu);
  }
  if (widget->isWindow() && widget->objectName() == QLatin1String("TForm1")) {
    return new PaneAccessible(widget, QAccessible::Window);
  }
  return nullptr;
}

}  // namespace

void InstallAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(&Factory);
    return true;
  }();
  (void)installed;
}

}  // namespace vrdk::shell
