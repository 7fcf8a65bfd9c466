// The window's one kind of edit box, for a number or a short text.
//
// While the user types, the box shows exactly what was typed and nothing
// rewrites it. A value goes to the core once the text is complete and valid
// for its field; it is corrected to the field's limits only when the user
// leaves the box or presses Enter, and the box then shows the corrected
// value. An empty or partial box is never sent.
//
// Sending is coalesced: the value is sent when the core is idle (after the
// transfer that may be running), and a value typed while one waits replaces
// it, so a box typed quickly may send only its final value, but its final
// value always goes. A box left without an edit since it last showed a value
// sends nothing, so a value shown before a read never goes back to the mouse.
#pragma once

#include <QLineEdit>
#include <cstdint>
#include <functional>
#include <optional>

namespace vrdk::shell {

class EditField : public QLineEdit {
  Q_OBJECT
 public:
  // send(text, left): the field's text to send; left when the user left it.
  using Send = std::function<void(const QString& text, bool left)>;

  EditField(const QString& name, QWidget* parent);

  // Where values go.
  void SetSender(Send send);
  // Shows a text the mouse holds, sending nothing; a value waiting to be
  // sent is dropped and the box counts as not edited.
  void ShowText(const QString& text);
  // Shows a text the mouse holds unless the user is typing in the box or a
  // value of it waits to be sent; `fill` is the Session's fill count
  // (PageState::filled): after a new fill the box shows the new value even
  // while the user was typing.
  void Show(const QString& text, std::uint64_t fill);
  // The user changed the text since it last showed one.
  bool Edited() const { return edited_; }

 signals:
  // The user left the box (focus gone, or Enter) after an edit.
  void Left();

 protected:
  // The text is complete and valid: it may be sent while the user types.
  virtual bool Complete(const QString& text) const = 0;
  // The text to show and send when the user leaves the box; nothing keeps
  // the text as it is and sends nothing.
  virtual std::optional<QString> Corrected(const QString& text) const = 0;

  void focusOutEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Edit(const QString& text);
  void Leave();
  void Schedule(bool left);

  Send send_;
  bool edited_ = false;
  bool pending_ = false;
  bool pending_left_ = false;
  unsigned shown_ = 0;      // moves on with every ShowText: a waiting send is then dropped
  std::uint64_t fill_ = 0;  // the fill the box last showed a value of
};

// A whole number within [minimum, maximum], in base 10 (a leading '-' where
// the minimum is negative) or base 16 (upper-case digits).
class NumberField : public EditField {
  Q_OBJECT
 public:
  struct Rules {
    long minimum = 0;
    long maximum = 0;
    int base = 10;
    int digits = 0;      // most digits; 0: as many as the limits need
    bool exact = false;  // complete only with all its digits (a USB id)
    // The value of a box that is left: the number typed (nothing when the
    // box holds none) corrected to the limits. By default the typed number
    // clamped; an empty box keeps its emptiness and sends nothing.
    std::function<std::optional<long>(std::optional<long>)> correct;
  };

  NumberField(const QString& name, Rules rules, QWidget* parent);

  // A correction by a rule of the core that takes what was typed (nothing
  // for an empty box) and gives the value to keep.
  static std::function<std::optional<long>(std::optional<long>)> Corrector(
      int (*rule)(std::optional<int>));

  // Shows a number the mouse holds, in the field's base and digits.
  void ShowValue(long value);
  // The number the box holds, whole and in its base; nothing for an empty
  // or partial box ("-").
  std::optional<long> Number() const;
  // The text of a number in this field's form.
  QString Format(long value) const;
  const Rules& FieldRules() const { return rules_; }

 protected:
  bool Complete(const QString& text) const override;
  std::optional<QString> Corrected(const QString& text) const override;

 private:
  std::optional<long> Parse(const QString& text) const;

  Rules rules_;
};

// Text of at most `length` printable ASCII characters; every text is complete.
class TextField : public EditField {
  Q_OBJECT
 public:
  TextField(const QString& name, int length, QWidget* parent);

 protected:
  bool Complete(const QString&) const override { return true; }
  std::optional<QString> Corrected(const QString& text) const override { return text; }
};

}  // namespace vrdk::shell
