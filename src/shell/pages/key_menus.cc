#include "shell/pages/key_menus.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>

#include "macros/editors/device_macros.h"
#include "shell/page.h"
#include "shell/skin_palette.h"
#include "shell/skin_widgets.h"

namespace vrdk::shell {
namespace {

constexpr int kMacroRows = 10;  // LB_Name shows this many macros before it scrolls

QRect RectOf(const MenuBox& box) { return {box.x, box.y, box.width, box.height}; }
MenuBox BoxOf(const QRect& rect) { return {rect.x(), rect.y(), rect.width(), rect.height()}; }

// Pnl_Main is level 0, the panels its entries open level 1, theirs level 2.
int LevelOf(const MenuPanel& panel) {
  const MenuPanel& main = MenuPanels().front();
  if (panel.name == main.name) return 0;
  for (const MenuItem& item : main.items) {
    if (item.submenu == panel.name) return 1;
  }
  return 2;
}

QString Name(std::string_view text) {
  return QLatin1String(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

KeyMenus::KeyMenus(ShellServices& services, QWidget* page)
    : QObject(page), services_(services), page_(page) {
  for (const MenuPanel& panel : MenuPanels()) Build(panel, LevelOf(panel));

  macros_ = new QListWidget(page_);
  macros_->setObjectName(QStringLiteral("LB_Name"));
  macros_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  macros_->setFocusPolicy(Qt::TabFocus);
  macros_->installEventFilter(this);
  macros_->setMouseTracking(true);
  macros_->hide();
  connect(macros_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { emit MacroChosen(macros_->row(item)); });
}

void KeyMenus::Build(const MenuPanel& menu, int level) {
  Panel panel;
  panel.menu = &menu;
  panel.level = level;
  panel.frame = new QFrame(page_);
  panel.frame->setObjectName(Name(menu.name));
  panel.frame->hide();
  const QString name = panel.frame->objectName();
  for (int i = 0; i < static_cast<int>(menu.items.size()); ++i) {
    const MenuItem& item = menu.items[static_cast<std::size_t>(i)];
    auto* entry = new SkinLabel(Name(item.component), panel.frame);
    entry->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // The entry paints the skin's selected background itself.
    entry->setAttribute(Qt::WA_TranslucentBackground, false);
    entry->setAttribute(Qt::WA_NoSystemBackground, false);
    entry->setAttribute(Qt::WA_StyledBackground, true);
    if (item.kind == MenuItem::Kind::kSubmenu || item.kind == MenuItem::Kind::kMacroList) {
      // The mark of an entry that opens more.
      auto* more = new QLabel(QStringLiteral("\u203A"), entry);
      // The entry's submenu arrow: a decoration of the entry, found as its label child.
      more->setAttribute(Qt::WA_TransparentForMouseEvents);
      more->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    entry->SetRole(ControlRole::kMenuItem);
    entry->installEventFilter(this);
    connect(entry, &SkinLabel::Entered, this, [this, name, i] { Entered(panels_[name], i); });
    connect(entry, &SkinLabel::Left, this, [this, name, i] { Left(panels_[name], i); });
    connect(entry, &SkinLabel::Clicked, this, [this, name, i] { Clicked(panels_[name], i); });
    panel.entries.append(entry);
  }
  panels_.insert(name, panel);
}

void KeyMenus::ApplyLanguage() {
  const SkinLayout& skin = services_.Skin();
  const LanguageTable& language = services_.Language();
  const TextStyle style = skin.Style("G");
  const QFont font = services_.TableFont(style.points);
  for (Panel& panel : panels_) {
    panel.frame->setStyleSheet(PopupFrameSheet(skin, panel.frame->objectName(), kMenuBorder));
    for (int i = 0; i < panel.entries.size(); ++i) {
      SkinLabel* entry = panel.entries[i];
      entry->setFont(font);
      entry->setText(
          FromUtf8(MenuCaption(panel.menu->items[static_cast<std::size_t>(i)], language)));
      StyleEntry(entry, false);
    }
  }
  macros_->setFont(font);
  macros_->setStyleSheet(
      QStringLiteral("QListWidget { background: %1; border: %2px solid %3; color: %4; outline: 0; }"
                     "QListWidget::item { height: %5px; padding-left: 6px; }"
                     "QListWidget::item:hover { background: %6; color: %7; }")
          .arg(CssColour(skin.Colour("G_Back")))
          .arg(kMenuBorder)
          .arg(CssColour(skin.Colour("G_Border")), CssColour(style.colour))
          .arg(kMenuItemHeight)
          .arg(CssColour(skin.Colour("G_SP")), CssColour(skin.Colour("G_SF"))));
}

void KeyMenus::StyleEntry(SkinLabel* entry, bool selected) {
  const SkinLayout& skin = services_.Skin();
  const QString colour = CssColour(selected ? skin.Colour("G_SF") : skin.Style("G").colour);
  entry->setStyleSheet(PopupEntryStyle(skin, selected));
  entry->setProperty("selected", selected);
  if (auto* more = entry->findChild<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
    more->setStyleSheet(
        QStringLiteral("color: %1; background: transparent; padding-right: 6px;").arg(colour));
  }
}

bool KeyMenus::EntryShown(const MenuItem& item) const {
  if (item.component == "Key_Profile1") return sizes_.profile1_shown;
  if (item.component == "Key_Profile2") return sizes_.profile2_shown;
  if (item.component == "Key_BtnEFT") return services_.GetSession().Brand().button_effect;
  if (!item.hidden_by_default) return true;
  return services_.Skin().Number(std::string(item.component) + "_Enable") == 1;
}

int KeyMenus::EntryTop(const MenuItem& item, int shown_before) const {
  // The profile list keeps its entries' places; hidden ones leave a gap.
  if (item.component == "Key_Profile1") return sizes_.profile1_top;
  if (item.component == "Key_Profile2") return sizes_.profile2_top;
  if (item.component == "Key_Profile3") return kMenuBorder + 2 * kMenuItemHeight;
  if (item.component == "Key_Profile") return kMenuBorder + 3 * kMenuItemHeight;
  return kMenuBorder + shown_before * kMenuItemHeight;
}

void KeyMenus::LayOut(Panel& panel) {
  const int width = services_.Skin().Number(panel.menu->width_key);
  int shown = 0;
  for (int i = 0; i < panel.entries.size(); ++i) {
    const MenuItem& item = panel.menu->items[static_cast<std::size_t>(i)];
    SkinLabel* entry = panel.entries[i];
    const bool visible = EntryShown(item);
    entry->setVisible(visible);
    if (!visible) continue;
    entry->setGeometry(kMenuItemInset / 2, EntryTop(item, shown), width - kMenuItemInset,
                       kMenuItemHeight);
    if (auto* more = entry->findChild<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) {
      more->setGeometry(entry->rect());
    }
    ++shown;
  }
  int height = 2 * kMenuBorder + shown * kMenuItemHeight;
  const QString name = panel.frame->objectName();
  if (name == QLatin1String("Pnl_Main")) height = sizes_.main_height;
  if (name == QLatin1String("Pnl_Special")) height = std::min(height, sizes_.special_height);
  if (name == QLatin1String("Pnl_Profile")) height = sizes_.profile_height;
  panel.frame->resize(width, height);
}

void KeyMenus::Open(const QRect& label, const settings::KeyMenuSizes& sizes) {
  HideAll();
  sizes_ = sizes;
  for (Panel& panel : panels_) LayOut(panel);
  ShowMacroEntries();
  Panel& main = panels_[QStringLiteral("Pnl_Main")];
  const QSize size = main.frame->size();
  main.frame->setGeometry(RectOf(
      PlaceMainMenu(BoxOf(label), size.width(), size.height(), page_->width(), page_->height())));
  main.frame->show();
  main.frame->raise();
}

void KeyMenus::HideAll() {
  for (Panel& panel : panels_) {
    panel.frame->hide();
    for (SkinLabel* entry : panel.entries) StyleEntry(entry, false);
  }
  macros_->hide();
}

bool KeyMenus::IsOpen() const {
  return panels_.value(QStringLiteral("Pnl_Main")).frame->isVisible();
}

void KeyMenus::HideBelow(int level) {
  for (Panel& panel : panels_) {
    if (panel.level <= level) continue;
    panel.frame->hide();
    for (SkinLabel* entry : panel.entries) StyleEntry(entry, false);
  }
  if (level < 1) macros_->hide();
}

void KeyMenus::Highlight(Panel& panel, int index) {
  for (int i = 0; i < panel.entries.size(); ++i) StyleEntry(panel.entries[i], i == index);
}

void KeyMenus::Entered(Panel& panel, int index) {
  const MenuItem& item = panel.menu->items[static_cast<std::size_t>(index)];
  Highlight(panel, index);
  HideBelow(panel.level);
  if (item.kind == MenuItem::Kind::kSubmenu) {
    Panel& submenu = panels_[Name(item.submenu)];
    if (submenu.frame->height() > 0) OpenBeside(panel, index, submenu.frame);
  } else if (item.kind == MenuItem::Kind::kMacroList) {
    OpenMacroList(panel, index);
  }
}

void KeyMenus::Left(Panel& panel, int index) {
  const MenuItem& item = panel.menu->items[static_cast<std::size_t>(index)];
  // A category stays marked while its submenu is open.
  if (item.kind == MenuItem::Kind::kLeaf || item.kind == MenuItem::Kind::kCombinationDialog) {
    StyleEntry(panel.entries[index], false);
  }
}

void KeyMenus::Clicked(Panel& panel, int index) {
  const MenuItem& item = panel.menu->items[static_cast<std::size_t>(index)];
  switch (item.kind) {
    case MenuItem::Kind::kLeaf:
      emit LeafChosen(item.tag);
      break;
    case MenuItem::Kind::kCombinationDialog:
      emit CombinationChosen();
      break;
    case MenuItem::Kind::kMacroList:
      if (DeviceMacroNames().empty()) {
        services_.ShowMessageText(FromUtf8(services_.GetSession().Own(OwnText::kNoDeviceMacros)));
        break;
      }
      Entered(panel, index);
      break;
    case MenuItem::Kind::kSubmenu:
      Entered(panel, index);  // a click opens what hovering opens
      break;
  }
}

void KeyMenus::OpenBeside(Panel& parent, int index, QWidget* submenu) {
  const QRect entry = parent.entries[index]->geometry();
  submenu->setGeometry(
      RectOf(PlaceSubmenu(BoxOf(parent.frame->geometry()), BoxOf(entry), submenu->width(),
                          submenu->height(), page_->width(), page_->height(), parent.opened_left)));
  if (auto panel = panels_.find(submenu->objectName()); panel != panels_.end()) {
    panel->opened_left = submenu->x() < parent.frame->x();
  }
  submenu->show();
  submenu->raise();
}

std::vector<std::string> KeyMenus::DeviceMacroNames() const {
  const auto* store = macros::FindDeviceMacros(services_.GetSession());
  return store != nullptr ? store->Names() : std::vector<std::string>{};
}

void KeyMenus::ShowMacroEntries() {
  // While the mouse holds no macros the entry opens nothing: no arrow, and
  // the reason when pointed at or clicked.
  const bool any = !DeviceMacroNames().empty();
  const QString none =
      any ? QString() : FromUtf8(services_.GetSession().Own(OwnText::kNoDeviceMacros));
  for (Panel& panel : panels_) {
    for (int i = 0; i < panel.entries.size(); ++i) {
      if (panel.menu->items[static_cast<std::size_t>(i)].kind != MenuItem::Kind::kMacroList)
        continue;
      if (auto* more = panel.entries[i]->findChild<QLabel*>()) more->setVisible(any);
      panel.entries[i]->setToolTip(none);
    }
  }
}

void KeyMenus::FocusFirst() { FocusEntry(panels_[QStringLiteral("Pnl_Main")], 0, 1); }

bool KeyMenus::HasFocus() const {
  const QWidget* focused = QApplication::focusWidget();
  if (focused == nullptr) return false;
  if (focused == macros_ || macros_->isAncestorOf(focused)) return true;
  for (const Panel& panel : panels_) {
    if (panel.frame->isAncestorOf(focused)) return true;
  }
  return false;
}

bool KeyMenus::FocusEntry(Panel& panel, int from, int step) {
  const int count = static_cast<int>(panel.entries.size());
  for (int n = 0; n < count; ++n) {
    const int i = ((from + n * step) % count + count) % count;
    if (panel.entries[i]->isVisibleTo(panel.frame)) {
      panel.entries[i]->setFocus(Qt::TabFocusReason);
      return true;
    }
  }
  return false;
}

bool KeyMenus::GoInto(Panel& panel, int index) {
  const MenuItem& item = panel.menu->items[static_cast<std::size_t>(index)];
  if (item.kind == MenuItem::Kind::kSubmenu) {
    Panel& submenu = panels_[Name(item.submenu)];
    if (!submenu.frame->isVisible()) Entered(panel, index);
    return submenu.frame->isVisible() && FocusEntry(submenu, 0, 1);
  }
  if (item.kind == MenuItem::Kind::kMacroList) {
    if (!macros_->isVisible()) Entered(panel, index);
    if (!macros_->isVisible()) return false;
    macro_parent_ = panel.frame->objectName();
    macro_entry_ = index;
    if (macros_->currentRow() < 0) macros_->setCurrentRow(0);
    macros_->setFocus(Qt::TabFocusReason);
    return true;
  }
  return false;
}

bool KeyMenus::GoBack(const Panel& panel) {
  // The entry of the panel one level up that opens this one.
  for (Panel& parent : panels_) {
    if (parent.level != panel.level - 1) continue;
    for (int i = 0; i < parent.entries.size(); ++i) {
      const MenuItem& item = parent.menu->items[static_cast<std::size_t>(i)];
      if (item.kind == MenuItem::Kind::kSubmenu &&
          Name(item.submenu) == panel.frame->objectName()) {
        parent.entries[i]->setFocus(Qt::TabFocusReason);
        return true;
      }
    }
  }
  return false;
}

bool KeyMenus::EntryKey(Panel& panel, int index, int key) {
  switch (key) {
    case Qt::Key_Down:
      return FocusEntry(panel, index + 1, 1);
    case Qt::Key_Up:
      return FocusEntry(panel, index - 1, -1);
    case Qt::Key_Right:
      GoInto(panel, index);
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
      // A category opens; a leaf is chosen by the entry itself.
      return GoInto(panel, index);
    case Qt::Key_Left:
      if (panel.level > 0) GoBack(panel);
      return true;
    case Qt::Key_Escape:
      if (panel.level > 0) {
        GoBack(panel);
      } else {
        services_.HideAllMenu();
      }
      return true;
    default:
      return false;
  }
}

bool KeyMenus::MacroListKey(int key) {
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
      if (macros_->currentRow() >= 0) emit MacroChosen(macros_->currentRow());
      return true;
    case Qt::Key_Left:
    case Qt::Key_Escape:
      if (auto parent = panels_.find(macro_parent_);
          parent != panels_.end() && macro_entry_ >= 0 && macro_entry_ < parent->entries.size()) {
        parent->entries[macro_entry_]->setFocus(Qt::TabFocusReason);
      }
      return true;
    default:
      return false;  // the list walks its rows itself
  }
}

bool KeyMenus::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
  const int key = static_cast<QKeyEvent*>(event)->key();
  if (watched == macros_) return MacroListKey(key);
  for (Panel& panel : panels_) {
    const int index = static_cast<int>(panel.entries.indexOf(qobject_cast<SkinLabel*>(watched)));
    if (index >= 0) return EntryKey(panel, index, key);
  }
  return QObject::eventFilter(watched, event);
}

void KeyMenus::OpenMacroList(Panel& parent, int index) {
  const std::vector<std::string> names = DeviceMacroNames();
  if (names.empty()) return;  // the list opens only while the mouse holds macros
  macros_->clear();
  for (const std::string& name : names) macros_->addItem(FromUtf8(name));
  const int rows = std::min(static_cast<int>(names.size()), kMacroRows);
  macros_->resize(services_.Skin().Number("O_L_W"), 2 * kMenuBorder + rows * kMenuItemHeight);
  OpenBeside(parent, index, macros_);
}

}  // namespace vrdk::shell
