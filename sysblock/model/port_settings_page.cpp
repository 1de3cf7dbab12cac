#include "sysblock/model/port_settings_page.h"

#include <algorithm>

namespace corvell {

namespace {

constexpr std::array<uint8_t, 16> kDefaultNetworkFields = {
    192, 168, 1, 2, 255, 255, 255, 0, 192, 168, 1, 1, 0xD0, 0x07, 1, 0};

bool InRange(long long v, long long low, long long high) { return v >= low && v <= high; }

bool TextInRange(const std::wstring& text, long long low, long long high) {
  auto v = ReadTextNumber(text);
  return v && InRange(*v, low, high);
}

}  // namespace

PortSettingsPage::PortSettingsPage()
    : NetworkFields(kDefaultNetworkFields), ModbusMasterImage(14, 0) {
  BuildNetworkBlock();
}

void PortSettingsPage::BuildNetworkBlock() {
  PageBytes block(NetworkFields.begin(), NetworkFields.begin() + 12);
  const bool portOk = InRange(TcpPort, 1, 65535);
  block.push_back(portOk ? static_cast<uint8_t>(TcpPort & 0xFF) : NetworkFields[12]);
  block.push_back(portOk ? static_cast<uint8_t>((TcpPort >> 8) & 0xFF) : NetworkFields[13]);
  block.push_back(InRange(TcpAddress, 0, 255) ? static_cast<uint8_t>(TcpAddress) : NetworkFields[14]);
  block.push_back(NetworkFields[15]);
  NetworkBlock = std::move(block);
}

void PortSettingsPage::ParseNetworkBlock() {
  if (NetworkBlock.size() < kNetworkBlockSize) return;
  std::copy_n(NetworkBlock.begin(), kNetworkBlockSize, NetworkFields.begin());
  TcpPort = NetworkBlock[12] + 256 * NetworkBlock[13];
  TcpAddress = NetworkBlock[14];
}

void PortSettingsPage::Defaults() {
  for (auto& port : Ports) {
    port = SerialPortFields();
    port.Baud = 5;
  }
  std::copy_n(kDefaultNetworkFields.begin(), 12, NetworkFields.begin());
  NetworkFields[15] = 0;
  TcpPort = 2000;
  TcpAddress = 1;
}

std::optional<FieldError> PortSettingsPage::ValidatePortFields(int language) const {
  const std::wstring address = PickText(language, L"PLC Address", L"PLC地址");
  const std::wstring timeout = PickText(language, L"Response Timeout", L"响应超时");
  const std::wstring delay = PickText(language, L"Interval Frame Delay", L"帧间隔时间");
  const int controls[2][3] = {
      {kPort0PlcAddressControl, kPort0ResponseTimeoutControl, kPort0FrameDelayControl},
      {kPort1PlcAddressControl, kPort1ResponseTimeoutControl, kPort1FrameDelayControl}};
  for (int p = 0; p < 2; ++p) {
    const SerialPortFields& port = Ports[p];
    if (port.Protocol != 0) continue;
    if (auto m = CheckNumberText(port.PlcAddress, 0, 255, address, language)) return FieldError{controls[p][0], *m};
    if (auto m = CheckNumberText(port.ResponseTimeout, 1, 255, timeout, language))
      return FieldError{controls[p][1], *m};
    if (auto m = CheckNumberText(port.FrameDelay, 1, 255, delay, language)) return FieldError{controls[p][2], *m};
  }
  if (!InRange(TcpAddress, 0, 255)) {
    return FieldError{kTcpAddressControl, std::wstring(PickText(language, L"TCP Address", L"TCP地址")) + L"\r\n" +
                                              PickText(language, L"Input number out of range", L"输入数字超出范围")};
  }
  return std::nullopt;
}

void PortSettingsPage::Decode(const PageBytes& page, const PageBytes& sample) {
  if (page.size() >= kMinimumSize) {
    DecodeFrom(page);
  } else if (sample.size() >= kMinimumSize) {
    DecodeFrom(sample);
  }
}

void PortSettingsPage::DecodeFrom(const PageBytes& page) {
  for (int p = 0; p < 2; ++p) {
    const uint8_t* b = page.data() + p * kPortBytes;
    SerialPortFields& port = Ports[p];
    if (b[0] <= 2) port.Protocol = b[0];
    port.PlcAddress = NumberText(b[1]);
    if (b[2] <= 7) port.Baud = b[2];
    if (b[3] <= 1) port.DataBits = b[3];
    if (b[4] <= 2) port.Parity = b[4];
    if (b[5] <= 1) port.StopBits = b[5];
    if (b[6] != 0) port.ResponseTimeout = NumberText(b[6]);
    if (b[7] != 0) port.FrameDelay = NumberText(b[7]);
  }
  NetworkBlock.assign(page.begin() + kNetworkBlockOffset, page.begin() + kNetworkBlockOffset + kNetworkBlockSize);
  ParseNetworkBlock();
  ModbusMasterImage.assign(page.begin() + kMasterImageOffset, page.end());
}

PageBytes PortSettingsPage::Encode(const PageBytes& sample) const {
  PageBytes page(sample.begin(), sample.begin() + std::min<size_t>(sample.size(), 2 * kPortBytes));
  page.resize(2 * kPortBytes, 0);
  for (int p = 0; p < 2; ++p) {
    uint8_t* b = page.data() + p * kPortBytes;
    const SerialPortFields& port = Ports[p];
    if (InRange(port.Protocol, 0, 2)) b[0] = static_cast<uint8_t>(port.Protocol);
    if (auto v = ReadTextNumber(port.PlcAddress); v && InRange(*v, 0, 255)) b[1] = static_cast<uint8_t>(*v);
    if (InRange(port.Baud, 0, 7)) b[2] = static_cast<uint8_t>(port.Baud);
    if (InRange(port.DataBits, 0, 1)) b[3] = static_cast<uint8_t>(port.DataBits);
    if (InRange(port.Parity, 0, 2)) b[4] = static_cast<uint8_t>(port.Parity);
    if (InRange(port.StopBits, 0, 1)) b[5] = static_cast<uint8_t>(port.StopBits);
    if (TextInRange(port.ResponseTimeout, 1, 255)) b[6] = static_cast<uint8_t>(*ReadTextNumber(port.ResponseTimeout));
    if (TextInRange(port.FrameDelay, 1, 255)) b[7] = static_cast<uint8_t>(*ReadTextNumber(port.FrameDelay));
  }
  // The block always takes its 16 bytes, so the master image stays at byte 32.
  PageBytes block = NetworkBlock;
  block.resize(kNetworkBlockSize, 0);
  page.insert(page.end(), block.begin(), block.end());
  page.insert(page.end(), ModbusMasterImage.begin(), ModbusMasterImage.end());
  return page;
}

}  // namespace corvell
