// The editing pages of the configuration dialog: one per kind of node, each editing one
// object of the dialog's own channel list in place. The field checks are the plain rules of
// driver/field_rules.h; the pages only move texts between widgets and objects.
#pragma once

#include <QComboBox>
#include <QWidget>
#include <array>

#include "modbusdrv/driver/com_channel.h"
#include "modbusdrv/driver/tcp_channel.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class QToolButton;

namespace modbusdrv {

// What the pages need of the dialog that owns them.
class PageHost {
 public:
  virtual ~PageHost() = default;
  virtual ChannelList& Channels() = 0;
  virtual const std::wstring& ConfigFilePath() const = 0;
  // An edit was stored: the configuration is no longer saved.
  virtual void MarkUnsaved() = 0;
  // The Name of a channel, device or block changed.
  virtual void NodeNameChanged(const void* object) = 0;
  // Tells the user that another channel has the name (the only refusal that is shown).
  virtual void ShowDuplicateName() = 0;
};

QString ToQ(const std::wstring& text);
std::wstring FromQ(const QString& text);

class CSerialSettingsPage : public QWidget {
  Q_OBJECT
 public:
  CSerialSettingsPage(PageHost& host, int& modified, QWidget* parent);
  void SetChannel(CComChannel* channel) { channel_ = channel; }
  void Fill();
  void ApplyEdits();

  QComboBox* port;
  QComboBox* rate;
  QComboBox* dataBits;
  QComboBox* stopBits;
  QComboBox* parity;
  QComboBox* encoding;

 private:
  void Store(int which);
  PageHost& host_;
  int& modified_;
  CComChannel* channel_ = nullptr;
};

class CTcpSettingsPage : public QWidget {
  Q_OBJECT
 public:
  CTcpSettingsPage(PageHost& host, int& modified, QWidget* parent);
  void SetChannel(CTcpChannel* channel) { channel_ = channel; }
  void Fill();
  void ApplyEdits();
  void ApplyPort();
  void ApplyAddress();

  std::array<QLineEdit*, 4> address;
  QLineEdit* port;

 private:
  PageHost& host_;
  int& modified_;
  CTcpChannel* channel_ = nullptr;
};

class CChannelPage : public QWidget {
  Q_OBJECT
 public:
  CChannelPage(PageHost& host, QWidget* parent);
  // The dialog sets one of the two (or none) before showing the page.
  void SetChannels(CComChannel* serial, CTcpChannel* tcp);
  ModbusChannel* ShownChannel() const { return shown_; }
  void Fill();
  void ApplyEdits();
  void ApplyName();
  void ApplyDescription();
  void ApplyTimeout();
  void ApplyRefresh();

  int Modified = 0;
  QLineEdit* name;
  QLineEdit* description;
  QCheckBox* enabled;
  QLineEdit* timeout;
  QLineEdit* refresh;  // never shown
  QRadioButton* multiStep;
  QRadioButton* singleStep;
  CSerialSettingsPage* serialPage;
  CTcpSettingsPage* tcpPage;

 private:
  void Changed();
  PageHost& host_;
  CComChannel* serial_ = nullptr;
  CTcpChannel* tcp_ = nullptr;
  ModbusChannel* shown_ = nullptr;
};

class CDevicePage : public QWidget {
  Q_OBJECT
 public:
  CDevicePage(PageHost& host, QWidget* parent);
  void SetDevice(ModbusDevice* device) { device_ = device; }
  ModbusDevice* ShownDevice() const { return device_; }
  void Fill();
  void ApplyEdits();
  void ApplyUnit();
  void ApplyName();
  void ApplyDescription();
  // One click of the up (+1) or down (-1) arrow beside the unit field.
  void Step(int delta);

  int Modified = 0;
  QLineEdit* name;
  QLineEdit* description;
  QLineEdit* unit;

 private:
  void Changed();
  PageHost& host_;
  ModbusDevice* device_ = nullptr;
};

class CDataBlockPage : public QWidget {
  Q_OBJECT
 public:
  CDataBlockPage(PageHost& host, QWidget* parent);
  void SetBlock(ModbusDataBlock* block) { block_ = block; }
  ModbusDataBlock* ShownBlock() const { return block_; }
  void Fill();
  void ApplyEdits();
  void ApplyStart();
  void ApplyLength();
  void ApplyRefresh();
  void ApplyName();
  void ApplyDescription();

  int Modified = 0;
  QLineEdit* name;
  QLineEdit* description;
  QLineEdit* start;
  QLineEdit* length;
  QLineEdit* refresh;
  QComboBox* dataType;

 private:
  void Changed();
  PageHost& host_;
  ModbusDataBlock* block_ = nullptr;
  uint32_t shownItem_ = 0;  // item number of the start field as last shown
};

class CSystemInfoPage : public QWidget {
  Q_OBJECT
 public:
  CSystemInfoPage(PageHost& host, QWidget* parent);
  void Fill();

  QLabel* channels;
  QLabel* devices;
  QLabel* blocks;
  QLabel* path;

 private:
  PageHost& host_;
};

}  // namespace modbusdrv
