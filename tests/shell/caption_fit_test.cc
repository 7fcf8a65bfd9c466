// Every caption the window shows is whole: each visible named label of every
// page, in each of the three languages, holds its text in its own font.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

#include <QFontMetrics>
#include <QLabel>
#include <QTextDocument>

#include <QAbstractItemView>
#include <QComboBox>
#include <QEnterEvent>
#include <QListWidget>

#include "macros/macro_library.h"
#include "settings/navigation.h"
#include "shell/pages/key_combination_dialog.h"
#include "shell/pages/key_page.h"
#include "shell/pages/macro_page.h"
#include "window_rig.h"

namespace vrdk::shell {
namespace {

using settings::NavPage;

// "name "text": needs W x H, has w x h" for a label whose text does not fit.
std::optional<QString> Clipped(QLabel& label) {
  const QString text = label.text();
  const QRect room = label.contentsRect().adjusted(label.margin(), label.margin(), -label.margin(),
                                                   -label.margin());
  QSize needed;
  if (Qt::mightBeRichText(text) && label.textFormat() != Qt::PlainText) {
    QTextDocument document;
    document.setDefaultFont(label.font());
    document.setDocumentMargin(0);
    document.setHtml(text);
    if (label.wordWrap()) document.setTextWidth(room.width());
    needed = document.size().toSize();
  } else if (label.wordWrap()) {
    const int height = label.heightForWidth(label.width());
    needed = QSize(room.width(), height - (label.height() - room.height()));
  } else {
    // Its advance across, its ink up and down (a line's leading may overlap
    // the edge, a glyph may not).
    const QFontMetrics metrics(label.font());
    needed = QSize(metrics.boundingRect(QRect(), static_cast<int>(label.alignment()), text).width(),
                   metrics.tightBoundingRect(text).height());
  }
  if (needed.width() <= room.width() && needed.height() <= room.height()) return std::nullopt;
  return QStringLiteral("%1 \"%2\": needs %3 x %4, has %5 x %6")
      .arg(label.objectName(), text)
      .arg(needed.width())
      .arg(needed.height())
      .arg(room.width())
      .arg(room.height());
}

void Hover(QWidget* widget) {
  ASSERT_NE(widget, nullptr);
  QEnterEvent enter(QPointF(4, 4), QPointF(4, 4), QPointF(4, 4));
  QCoreApplication::sendEvent(widget, &enter);
}

QStringList ClippedLabels(QWidget& window) {
  QStringList clipped;
  for (QLabel* label : window.findChildren<QLabel*>()) {
    if (label->objectName().isEmpty() || label->text().isEmpty() || !label->isVisibleTo(&window))
      continue;
    if (const auto why = Clipped(*label)) clipped.append(*why);
  }
  return clipped;
}

TEST(CaptionFit, EveryVisibleCaptionOfEveryPageIsWholeInEachLanguage) {
  WindowRig rig;
  rig.Connect();
  constexpr NavPage kPages[] = {NavPage::kMain,           NavPage::kSwitch, NavPage::kAdvanced,
                                NavPage::kBreathingLight, NavPage::kMacro,  NavPage::kUpdate};
  // Language 1 as the window starts, then a switch to each.
  for (int language = 1; language <= 3; ++language) {
    if (language > 1) rig.Click(QStringLiteral("Btn_Lang%1_1").arg(language));
    for (const NavPage page : kPages) {
      settings::Navigation(rig.session).Go(page);
      rig.window.RefreshAPPage();
      rig.Settle();
      const QStringList clipped = ClippedLabels(rig.window);
      EXPECT_TRUE(clipped.isEmpty())
          << "language " << language << ", page " << static_cast<int>(page) << ":\n"
          << clipped.join('\n').toStdString();
    }
  }
}

// The panels that open over the pages: the macro page's insert panel for
// each kind of line, the key menus with their sub-menus, and the
// key-combination dialog.
TEST(CaptionFit, EveryCaptionOfThePanelsMenusAndDialogsIsWholeInEachLanguage) {
  WindowRig rig;
  rig.Connect();
  auto* macros = qobject_cast<MacroPage*>(rig.window.PageOfGroup(4));
  auto* keys = qobject_cast<KeyPage*>(rig.window.PageOfGroup(1));
  ASSERT_TRUE(macros != nullptr && keys != nullptr);
  macros::MacroLibrary& library = macros->Library();
  library.New(u"Fit");
  ASSERT_TRUE(library.SetLines(0, {"10", "1 A CODE:8204", "0 50", "2 A CODE:0204"}).ok());
  const auto check = [&rig](int language, const char* where) {
    rig.Settle();
    const QStringList clipped = ClippedLabels(rig.window);
    EXPECT_TRUE(clipped.isEmpty()) << "language " << language << ", " << where << ":\n"
                                   << clipped.join('\n').toStdString();
  };
  for (int language = 1; language <= 3; ++language) {
    if (language > 1) rig.Click(QStringLiteral("Btn_Lang%1_1").arg(language));
    settings::Navigation(rig.session).Go(NavPage::kMacro);
    rig.window.RefreshAPPage();
    macros->ShowState();
    auto* names = rig.Find<QListWidget>(QStringLiteral("LB_PCMacroName"));
    QTest::mouseClick(names->viewport(), Qt::LeftButton, {},
                      names->visualItemRect(names->item(0)).center());
    rig.Find<QListWidget>(QStringLiteral("LB_macro"))->setCurrentRow(1);
    macros->Btn_InsertClick();
    EXPECT_TRUE(rig.Shown(QStringLiteral("Gb_Insert")));
    auto* kinds = rig.Find<QComboBox>(QStringLiteral("CB_Insert"));
    for (int kind = 0; kind < kinds->count(); ++kind) {
      kinds->setCurrentIndex(kind);
      check(language, qPrintable(QStringLiteral("the insert panel, ") + kinds->itemText(kind)));
    }
    macros->Btn_CancelClick();

    settings::Navigation(rig.session).Go(NavPage::kSwitch);
    rig.window.RefreshAPPage();
    for (const char* menu : {"Key_Media", "Key_Special", "Key_ProfileKey", "Key_Macro"}) {
      keys->ShowPnlMain_OnClick(3);
      Hover(rig.window.findChild<QWidget*>(QLatin1String(menu)));
      check(language, menu);
      rig.window.HideAllMenu();
    }
    keys->Key_AssemblyClick();
    ASSERT_NE(keys->CombinationDialog(), nullptr);
    rig.Settle();
    const QStringList clipped = ClippedLabels(*keys->CombinationDialog());
    EXPECT_TRUE(clipped.isEmpty()) << "language " << language << ", the combination dialog:\n"
                                   << clipped.join('\n').toStdString();
    keys->CombinationDialog()->IB_CloseClick();
  }
}

double Luminance(QRgb colour) {
  const auto channel = [](int value) {
    const double c = value / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(qRed(colour)) + 0.7152 * channel(qGreen(colour)) +
         0.0722 * channel(qBlue(colour));
}

double Contrast(QRgb a, QRgb b) {
  const double x = Luminance(a);
  const double y = Luminance(b);
  return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
}

// The text of a drawn list against its background: the commonest colour is
// the background, the one farthest from it the text's.
double TextContrast(const QImage& drawn, const QRect& left_out) {
  std::map<QRgb, int> counts;
  for (int y = 0; y < drawn.height(); ++y) {
    for (int x = 0; x < drawn.width(); ++x) {
      if (!left_out.contains(x, y)) ++counts[drawn.pixel(x, y) | 0xFF000000u];
    }
  }
  const QRgb background =
      std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) {
        return a.second < b.second;
      })->first;
  double best = 1;
  for (const auto& [colour, count] : counts) best = std::max(best, Contrast(colour, background));
  return best;
}

// Chinese text in a Latin table font (a library macro's name in language 1)
// is drawn in the Chinese table font at the same size, not in whatever
// fallback the system picks.
TEST(CaptionFit, ChineseTextInALatinTableFontUsesTheChineseTableFont) {
  WindowRig rig;
  const QString chinese = QStringLiteral("巨集名稱");
  const QFont latin = rig.window.TableFont(9);
  rig.Click(QStringLiteral("Btn_Lang2_1"));
  const QFont cjk = rig.window.TableFont(9);
  ASSERT_NE(latin.family(), cjk.family());
  const QRect in_latin = QFontMetrics(latin).tightBoundingRect(chinese);
  const QRect in_cjk = QFontMetrics(cjk).tightBoundingRect(chinese);
  EXPECT_EQ(in_latin.size(), in_cjk.size());
  EXPECT_EQ(QFontMetrics(latin).horizontalAdvance(chinese),
            QFontMetrics(cjk).horizontalAdvance(chinese));
}

// The light page's drop-down lists, open, draw their entries readably.
TEST(CaptionFit, TheLightPagesOpenListsHaveReadableContrast) {
  WindowRig rig;
  rig.Connect();
  settings::Navigation(rig.session).Go(NavPage::kBreathingLight);
  rig.window.RefreshAPPage();
  for (const char* name : {"cb_LEDMode_3", "cb_Profile1Color_3"}) {
    auto* list = rig.Find<QComboBox>(QLatin1String(name));
    list->showPopup();
    rig.Settle();
    QAbstractItemView* view = list->view();
    // The rows that are not chosen: the chosen one is drawn in the mark colour.
    const QImage drawn = view->grab().toImage();
    const QRect chosen = view->visualRect(view->currentIndex())
                             .translated(view->viewport()->mapTo(view, QPoint(0, 0)));
    EXPECT_GE(TextContrast(drawn, chosen), 4.5) << name;
    list->hidePopup();
  }
}

}  // namespace
}  // namespace vrdk::shell
