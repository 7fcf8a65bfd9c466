// Qt's key events in the numbering of the core's key tables.

#include "shell/virtual_keys.h"

#include <gtest/gtest.h>
#include <QKeyEvent>

#include "keys/keyboard_keys.h"

namespace vrdk::shell {
namespace {

int Of(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  const QKeyEvent event(QEvent::KeyPress, key, modifiers);
  return VirtualKeyOf(event);
}

TEST(VirtualKeys, RunsOfLettersDigitsAndFunctionKeys) {
  EXPECT_EQ(Of(Qt::Key_A), 0x41);
  EXPECT_EQ(Of(Qt::Key_Z), 0x5A);
  EXPECT_EQ(Of(Qt::Key_0), 0x30);
  EXPECT_EQ(Of(Qt::Key_9), 0x39);
  EXPECT_EQ(Of(Qt::Key_F1), 0x70);
  EXPECT_EQ(Of(Qt::Key_F24), 0x87);
}

TEST(VirtualKeys, ThePadHasKeysOfItsOwn) {
  EXPECT_EQ(Of(Qt::Key_5, Qt::KeypadModifier), 0x65);
  EXPECT_EQ(Of(Qt::Key_Asterisk, Qt::KeypadModifier), 0x6A);
  EXPECT_EQ(Of(Qt::Key_Slash, Qt::KeypadModifier), 0x6F);
  EXPECT_EQ(Of(Qt::Key_Slash), 0xBF);  // the main block's OEM_2
  EXPECT_EQ(Of(Qt::Key_Enter, Qt::KeypadModifier), 0x0D);
}

TEST(VirtualKeys, EveryMappedKeyIsNamedAndStoredByTheTables) {
  for (const int key :
       {Qt::Key_Semicolon, Qt::Key_BracketLeft, Qt::Key_Apostrophe, Qt::Key_Escape, Qt::Key_Print,
        Qt::Key_VolumeUp, Qt::Key_MediaPlay, Qt::Key_Menu, Qt::Key_Help, Qt::Key_Down}) {
    const int virtual_key = Of(key);
    EXPECT_NE(VirtualKeyToUsage(virtual_key), 0) << std::hex << key;
    EXPECT_NE(VirtualKeyName(virtual_key), "None") << std::hex << key;
  }
  EXPECT_EQ(VirtualKeyToUsage(Of(Qt::Key_MediaPlay)), 0xC3);
  // Keys the tables have no number for.
  EXPECT_EQ(Of(Qt::Key_Dead_Grave), 0);
  EXPECT_EQ(Of(Qt::Key_Hangul), 0);
}

}  // namespace
}  // namespace vrdk::shell
