#include "shell/pages/engineer_chip_tab.h"

#include <QHBoxLayout>
#include <QIntValidator>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "engineering/engineer_page.h"
#include "image/fields.h"
#include "settings/dpi_editor.h"
#include "shell/page.h"
#include "shell/pages/engineer_form.h"
#include "shell/pages/engineer_led_group.h"

namespace vrdk::shell {
namespace {

using engineer::FormGroup;
using engineer::Hex;
using engineer::Term;

// The captions of the option lists, as the controller's documentation names
// them; the sensor rotation takes its caption from the term table.
struct OptionCaption {
  const char* control;
  const char* caption;
};
constexpr OptionCaption kOptionCaptions[] = {
    {"cb_ICType", "IC Type:"},
    {"cb_SensorEnhance", "Sensor enhance:"},
    {"cb_Package", "LED Type:"},
    {"cb_KbdType", "KeyMatrix Tyep:"},
    {"cb_CPIIndication", "CPI Indication:"},
    {"cb_CPISet", "CPI Set:"},
    {"cb_CPILevel", "CPI Level:"},
    {"cb_SensorRotation", nullptr},
    {"cb_CPIPrescaleSel", "CPI Pre-scale Sel:"},
    {"cb_FireKeyFreq", "Fire Key  Freq:"},
    {"cb_FireKeyCount", "Frie Key Count:"},
    {"cb_LEDCtrl0", "LED ctrl0:"},
    {"cb_LEDCtrl1", "LED ctrl1:"},
    {"cb_LEDModeFuse", "LED Mode:"},
    {"cb_ComboKeyTime", "Combo Key Time:"},
    {"cb_USBCDR", "USB CDR Sel:"},
    {"cb_SensorSleep", "Sensor Sleep:"},
    {"cb_LEDPower", "Usb Msc Mode:"},
    {"cb_EFTrelyNAK", "EFT-rely NAK:"},
    {"cb_EFTrelug", "EFT-relug:"},
    {"cb_KeepProfileInfo", "Keep profile Info:"},
    {"cb_ProfileLEDFlash", "Profile LED Flash:"},
};
constexpr int kSensorRotationTerm = 138;
constexpr int kRegisterRows = 12;

QString CaptionOf(const engineering::OptionField& field) {
  for (const auto& caption : kOptionCaptions) {
    if (field.control == caption.control) {
      return caption.caption != nullptr ? QLatin1String(caption.caption)
                                        : Term(kSensorRotationTerm);
    }
  }
  return engineer::FromUtf8(field.control.substr(3));
}

QPushButton* Button(QWidget* parent, const QString& name, const QString& text) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(name);
  return button;
}

}  // namespace

EngineerChipTab::EngineerChipTab(ShellServices& services, QWidget* parent)
    : QWidget(parent), services_(services) {
  setObjectName(QStringLiteral("ts_Engineer"));
  auto* columns = new QHBoxLayout(this);
  columns->setContentsMargins(10, 8, 10, 8);
  columns->setSpacing(10);
  auto* left = new QVBoxLayout;
  left->addWidget(BuildOptions());
  left->addWidget(BuildIdentity());
  left->addWidget(BuildCpiColours());
  left->addStretch();
  auto* right = new QVBoxLayout;
  right->addWidget(BuildRegisters());
  right->addWidget(BuildXData());
  led_ = new EngineerLedGroup(services_, this);
  right->addWidget(led_);
  right->addStretch();
  columns->addLayout(left, 5);
  columns->addLayout(right, 6);
}

QWidget* EngineerChipTab::BuildOptions() {
  FormGroup group(this, QStringLiteral("gbOption"), QStringLiteral("Option (0x70E0 .. 0x70E7)"));
  int n = 0;
  for (const engineering::OptionField& field : engineering::OptionFields()) {
    QStringList items;
    for (int i = 0; i < field.item_count; ++i) {
      items.append(engineer::FromUtf8(field.items[static_cast<std::size_t>(i)]));
    }
    const QString name = engineer::FromUtf8(field.control);
    QComboBox* combo = group.Combo(n++ < 11 ? 0 : 1, name, CaptionOf(field), items);
    options_.insert(name, combo);
    connect(combo, &QComboBox::activated, this, [this, &field](int item) {
      engineering::EngineerPage(services_.GetSession()).SetOption(field, item);
      if (field.control == "cb_Package" && package_changed_) package_changed_();
    });
  }
  return group.Box();
}

QWidget* EngineerChipTab::BuildRegisters() {
  FormGroup group(this, QStringLiteral("gbSensor"), QStringLiteral("Sensor"));
  int n = 0;
  for (const engineering::SensorRegister& reg : engineering::SensorRegisters()) {
    const QString name = engineer::FromUtf8(reg.control);
    NumberField* edit = group.HexEdit(n++ / kRegisterRows, name, name.mid(4) + QLatin1Char(':'), 2);
    registers_.insert(name, edit);
    edit->SetSender([this, &reg](const QString& text, bool) {
      engineering::EngineerPage(services_.GetSession()).SetSensorRegister(reg, text.toStdString());
    });
  }
  return group.Box();
}

QWidget* EngineerChipTab::BuildIdentity() {
  // Term 63 "VID/PID/USB Description"; 64 "VID:", 66 "PID:", 65/67 "(Hex)",
  // 68 "USB Description:", 139 "Vendor ID:", 140 "Product ID:".
  FormGroup group(this, QStringLiteral("gbUSB"), Term(63));
  // The ids go whole (four digits); the product string as typed.
  vid_ =
      group.HexEdit(0, QStringLiteral("edt_VID"), Term(64) + QLatin1Char(' ') + Term(65), 4, true);
  pid_ =
      group.HexEdit(0, QStringLiteral("edt_PID"), Term(66) + QLatin1Char(' ') + Term(67), 4, true);
  product_string_ =
      new TextField(QStringLiteral("edt_USBDesc"), engineering::kProductStringSize, group.Box());
  group.Pair(1, QStringLiteral("lbl_USBDesc"), Term(68), product_string_);
  const auto decimal = [&group](const QString& name, const QString& caption) {
    auto* edit = new NumberField(name, {0, 255, 10, 3, false, {}}, group.Box());
    edit->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    edit->setFixedWidth(48);
    group.Pair(1, QStringLiteral("lbl_") + name.mid(4), caption, edit);
    return edit;
  };
  vendor_code_ = decimal(QStringLiteral("edt_VendorID"), Term(139));
  product_code_ = decimal(QStringLiteral("edt_ProductID"), Term(140));
  vendor_code_->setToolTip(
      QStringLiteral("Factory codes (255: any): they let one configuration program tell apart "
                     "mice of different hardware built on the same controller."));
  product_code_->setToolTip(vendor_code_->toolTip());
  vid_->SetSender([this](const QString& text, bool) {
    engineering::EngineerPage(services_.GetSession()).SetVid(text.toUpper().toStdString());
  });
  pid_->SetSender([this](const QString& text, bool) {
    engineering::EngineerPage(services_.GetSession()).SetPid(text.toUpper().toStdString());
  });
  product_string_->SetSender([this](const QString& text, bool) {
    engineering::EngineerPage(services_.GetSession()).SetProductString(text.toStdString());
  });
  for (NumberField* code : {vendor_code_, product_code_}) {
    code->SetSender([this](const QString&, bool) { CustomerCodesEdited(); });
  }
  return group.Box();
}

QWidget* EngineerChipTab::BuildXData() {
  FormGroup group(this, QStringLiteral("gbXData"), QStringLiteral("XData"));
  xdata_address_ = group.HexEdit(0, QStringLiteral("edt_XDataAddr"), QStringLiteral("Addr:"), 4);
  xdata_value_ = group.HexEdit(1, QStringLiteral("edt_XDataValue"), QStringLiteral("Value:"), 2);
  auto* read = Button(group.Box(), QStringLiteral("btn_XDataRead"), QStringLiteral("Read"));
  auto* write = Button(group.Box(), QStringLiteral("btn_XDataWrite"), QStringLiteral("Write"));
  auto* changed =
      Button(group.Box(), QStringLiteral("btn_ChangeXData"), QStringLiteral("Changed XData"));
  group.Grid()->addWidget(read, 0, 4);
  group.Grid()->addWidget(write, 0, 5);
  group.Grid()->addWidget(changed, 0, 6);
  connect(read, &QPushButton::clicked, this, &EngineerChipTab::btn_XDataReadClick);
  connect(write, &QPushButton::clicked, this, &EngineerChipTab::btn_XDataWriteClick);
  connect(changed, &QPushButton::clicked, this, &EngineerChipTab::btn_ChangeXDataClick);
  return group.Box();
}

QWidget* EngineerChipTab::BuildCpiColours() {
  // Term 100 "CPI Color"; each level's red, green and blue.
  FormGroup group(this, QStringLiteral("gbCPIColor"), Term(100));
  cpi_colours_ = group.ColourEdits(
      QStringLiteral("CPI"), DpiState::kLevels, 4,
      [](int level) { return QStringLiteral("CPI%1").arg(level); },
      [this](int level, int component, int value) {
        settings::DpiEditor(services_.GetSession()).SetColourComponent(level, component, value);
      });
  group.Compact();
  return group.Box();
}

void EngineerChipTab::CustomerCodesEdited() {
  // Both codes go together: the other one as the mouse holds it while its
  // box holds no whole number.
  const auto codes = image::Bytes(services_.GetSession().Data(), image::field::kCustomerCodes);
  engineering::EngineerPage(services_.GetSession())
      .SetCustomerCodes(static_cast<int>(vendor_code_->Number().value_or(codes[0])),
                        static_cast<int>(product_code_->Number().value_or(codes[1])));
}

void EngineerChipTab::btn_XDataReadClick() {
  bool ok = false;
  const int address = xdata_address_->text().toInt(&ok, 16);
  if (!ok || xdata_address_->text().size() != 4) return;
  if (const auto value = engineering::EngineerPage(services_.GetSession())
                             .ReadXData(static_cast<std::uint16_t>(address))) {
    engineer::ShowText(xdata_value_, Hex(*value, 2));
  }
}

void EngineerChipTab::btn_XDataWriteClick() {
  bool address_ok = false;
  bool value_ok = false;
  const int address = xdata_address_->text().toInt(&address_ok, 16);
  const int value = xdata_value_->text().toInt(&value_ok, 16);
  if (!address_ok || !value_ok || xdata_address_->text().size() != 4) return;
  engineering::EngineerPage(services_.GetSession())
      .WriteXData(static_cast<std::uint16_t>(address), static_cast<std::uint8_t>(value));
}

void EngineerChipTab::btn_ChangeXDataClick() {
  engineering::EngineerPage(services_.GetSession()).ChangedXData();
}

void EngineerChipTab::ShowState() {
  const Session& session = services_.GetSession();
  if (auto* group = findChild<QWidget*>(QStringLiteral("gbCPIColor"))) {
    group->setVisible(session.Pages().led_type != image::LedType::kSync);
  }
  const auto vendor = image::Vendor(session.Data());
  for (const engineering::OptionField& field : engineering::OptionFields()) {
    engineer::ShowItem(
        options_.value(engineer::FromUtf8(field.control)),
        engineering::OptionItemOf(field, vendor[static_cast<std::size_t>(field.byte)]));
  }
  for (const engineering::SensorRegister& reg : engineering::SensorRegisters()) {
    engineer::ShowField(registers_.value(engineer::FromUtf8(reg.control)),
                        Hex(vendor[static_cast<std::size_t>(reg.offset)], 2), session);
  }
  engineer::ShowField(vid_, Hex(image::VendorId(session.Data()), 4), session);
  engineer::ShowField(pid_, Hex(image::ProductId(session.Data()), 4), session);
  engineer::ShowField(product_string_,
                      QString::fromLatin1(image::ProductString(session.Data()).c_str()), session);
  const auto level_colours = image::Bytes(session.Data(), image::field::kLevelColours);
  for (int i = 0; i < cpi_colours_.size(); ++i) {
    engineer::ShowField(cpi_colours_[i],
                        QString::number(level_colours[static_cast<std::size_t>(i)]), session);
  }
  led_->ShowState();
  const auto codes = image::Bytes(session.Data(), image::field::kCustomerCodes);
  engineer::ShowField(vendor_code_, QString::number(codes[0]), session);
  engineer::ShowField(product_code_, QString::number(codes[1]), session);
}

}  // namespace vrdk::shell
