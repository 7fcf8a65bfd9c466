// The engineer page's chip tab (ts_Engineer): the controller's option lists
// (Vendor bytes 4..8), the sensor tuning registers, the USB identity and
// product string, the factory vendor and product codes, and direct access
// to the controller's XData memory. Every change goes to the core editor,
// which sends it at once.
#pragma once

#include <QHash>
#include <QList>
#include <QWidget>

#include "session/session.h"

class QComboBox;

namespace vrdk::shell {

class EngineerLedGroup;
class NumberField;
class ShellServices;
class TextField;

class EngineerChipTab : public QWidget {
  Q_OBJECT
 public:
  EngineerChipTab(ShellServices& services, QWidget* parent);
  void ShowState();

  // The option lists' items changed a page elsewhere (cb_Package).
  void SetPackageListener(std::function<void()> listener) {
    package_changed_ = std::move(listener);
  }

  void btn_XDataReadClick();
  void btn_XDataWriteClick();
  void btn_ChangeXDataClick();

 private:
  QWidget* BuildOptions();
  QWidget* BuildRegisters();
  QWidget* BuildIdentity();
  QWidget* BuildXData();
  QWidget* BuildCpiColours();
  void CustomerCodesEdited();

  ShellServices& services_;
  QHash<QString, QComboBox*> options_;  // by control name
  QHash<QString, NumberField*> registers_;
  NumberField* vid_ = nullptr;
  NumberField* pid_ = nullptr;
  TextField* product_string_ = nullptr;
  NumberField* vendor_code_ = nullptr;
  NumberField* product_code_ = nullptr;
  NumberField* xdata_address_ = nullptr;
  NumberField* xdata_value_ = nullptr;
  QList<NumberField*> cpi_colours_;  // edt_CPI1R, edt_CPI1G, edt_CPI1B, .. edt_CPI8B
  std::function<void()> package_changed_;
  EngineerLedGroup* led_ = nullptr;
};

}  // namespace vrdk::shell
