#include "modbusdrv/driver/config_file.h"

#include <algorithm>

#include "modbusdrv/driver/com_channel.h"
#include "modbusdrv/driver/driver_tag.h"
#include "modbusdrv/driver/driver_utils.h"
#include "modbusdrv/driver/tcp_channel.h"
#include "platform/file_util.h"
#include "platform/text_codec.h"

namespace modbusdrv {

namespace {

constexpr size_t kComFields = 13;
constexpr size_t kTcpFields = 9;
constexpr size_t kDeviceFields = 5;
constexpr size_t kBlockFields = 8;
// Largest block length a file may give (item number plus length stays below 100000).
constexpr uint32_t kMaxBlockLength = 99999;

enum class LineKind { Tcp, Com, Device, Block, Other };

LineKind KindOf(const std::wstring& keyword) {
  if (EqualNoCase(keyword, L"$TcpChannel")) return LineKind::Tcp;
  if (EqualNoCase(keyword, L"$ComChannel")) return LineKind::Com;
  if (EqualNoCase(keyword, L"$Device")) return LineKind::Device;
  if (EqualNoCase(keyword, L"$DataBlock")) return LineKind::Block;
  return LineKind::Other;
}

size_t FieldsNeeded(LineKind kind) {
  switch (kind) {
    case LineKind::Tcp: return kTcpFields;
    case LineKind::Com: return kComFields;
    case LineKind::Device: return kDeviceFields;
    case LineKind::Block: return kBlockFields;
    default: return 1;
  }
}

std::wstring Text(const std::wstring& field) { return field.substr(0, kMaxTextLength); }
int Int(const std::wstring& field) { return ParseIntField(field); }
uint32_t UInt(const std::wstring& field) { return static_cast<uint32_t>(ParseIntField(field)); }
uint32_t Batch(const std::wstring& field) {
  const int n = ParseIntField(field);
  return n < 1 ? 1u : (n > static_cast<int>(ModbusChannel::kMaxRequestsPerBatch) ? ModbusChannel::kMaxRequestsPerBatch : static_cast<uint32_t>(n));
}

// A block line is usable when its length can be allocated and addressed.
bool BlockLineUsable(const std::vector<std::wstring>& f) {
  const int32_t start = ParseIntField(f[3]);
  const int32_t length = ParseIntField(f[4]);
  return start >= 0 && length >= 1 && static_cast<uint32_t>(length) <= kMaxBlockLength;
}

void SetCommonChannelFields(ModbusChannel& c, const std::vector<std::wstring>& f) {
  c.Name = Text(f[1]);
  c.Description = Text(f[2]);
  c.RefreshMs = UInt(f[3]);
  c.TimeoutMs = UInt(f[4]);
  c.Enabled = Int(f[5]);
  c.RequestsPerBatch = Batch(f[6]);
}

void SetTcpFields(CTcpChannel& c, const std::vector<std::wstring>& f) {
  SetCommonChannelFields(c, f);
  c.IpAddress = Text(f[7]);
  c.Port = Int(f[8]);
}

void SetComFields(CComChannel& c, const std::vector<std::wstring>& f) {
  SetCommonChannelFields(c, f);
  c.PortName = Text(f[7]);
  c.BaudRate = UInt(f[8]);
  c.DataBits = static_cast<uint8_t>(Int(f[9]));
  c.StopBits = static_cast<uint8_t>(Int(f[10]));
  c.Parity = static_cast<uint8_t>(Int(f[11]));
  c.Encoding = Int(f[12]);
}

void SetDeviceFields(ModbusDevice& d, const std::vector<std::wstring>& f) {
  d.Name = Text(f[1]);
  d.Description = Text(f[2]);
  d.DeviceNumber = Int(f[3]);
  d.UnitId = Int(f[4]);
}

void SetNewBlockFields(ModbusDataBlock& b, const std::vector<std::wstring>& f) {
  b.Name = Text(f[1]);
  b.Description = Text(f[2]);
  b.SetRange(UInt(f[3]), UInt(f[4]), b.Length);
  b.Area = UInt(f[5]);
  b.RefreshMs = UInt(f[6]);
  b.DataType = UInt(f[7]);
}

// The file's lines: split at LF (a final LF ends the last line and starts none).
std::vector<std::string_view> Lines(const std::vector<uint8_t>& bytes) {
  std::vector<std::string_view> lines;
  const std::string_view all(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  size_t start = 0;
  while (start < all.size()) {
    const size_t lf = all.find('\n', start);
    if (lf == std::string_view::npos) {
      lines.push_back(all.substr(start));
      break;
    }
    lines.push_back(all.substr(start, lf - start + 1));
    start = lf + 1;
  }
  return lines;
}

enum class LineResult { Fields, Empty, Bad };

// Decodes and splits one line; Bad when the text is not CP936.
LineResult ReadLine(std::string_view raw, std::vector<std::wstring>& fields) {
  const auto text = platform::Cp936ToWide(raw);
  if (!text) {
    fields.clear();
    return LineResult::Bad;
  }
  return SplitCsvLine(*text, fields) == 0 ? LineResult::Empty : LineResult::Fields;
}

}  // namespace

std::wstring JoinCsvFields(const std::vector<std::wstring>& fields) {
  std::wstring line;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) line += L',';
    const std::wstring& f = fields[i];
    if (f.find_first_of(L",\"") == std::wstring::npos) {
      line += f;
      continue;
    }
    line += L'"';
    for (wchar_t c : f) {
      if (c == L'"') line += L'"';
      line += c;
    }
    line += L'"';
  }
  return line;
}

int SplitCsvLine(std::wstring_view line, std::vector<std::wstring>& fields) {
  fields.clear();
  while (!line.empty() && line.back() == L'\n') line.remove_suffix(1);
  while (!line.empty() && line.back() == L'\r') line.remove_suffix(1);
  while (!line.empty() && line.back() == L'\n') line.remove_suffix(1);
  std::wstring_view rest = line;
  bool done = false;
  while (!rest.empty() && !done) {
    if (rest[0] != L'"') {
      const size_t comma = rest.find(L',');
      if (comma == std::wstring_view::npos) {
        fields.emplace_back(rest);
        break;
      }
      fields.emplace_back(rest.substr(0, comma));
      rest = rest.substr(comma + 1);
      if (rest.empty()) fields.emplace_back();
      continue;
    }
    size_t p = 1;
    for (;;) {
      const size_t q = rest.find(L'"', p);
      if (q == std::wstring_view::npos) {
        fields.emplace_back(rest);
        done = true;
        break;
      }
      if (q + 1 < rest.size() && rest[q + 1] == L'"') {
        p = q + 2;
        continue;
      }
      if (q + 1 < rest.size() && rest[q + 1] == L',') {
        fields.emplace_back(rest.substr(1, q - 1));
        rest = rest.substr(q + 2);
        break;
      }
      if (rest.find(L',', q + 1) == std::wstring_view::npos) {
        if (rest.back() == L'"' && rest.size() >= 2)
          fields.emplace_back(rest.substr(1, rest.size() - 2));
        else
          fields.emplace_back(rest);
        done = true;
        break;
      }
      p = q + 1;
    }
  }
  for (auto& f : fields) {
    size_t pos = 0;
    while ((pos = f.find(L"\"\"", pos)) != std::wstring::npos) {
      f.erase(pos, 1);
      pos += 1;
    }
  }
  return static_cast<int>(fields.size());
}

bool LoadConfigBytes(const std::vector<uint8_t>& bytes, ChannelList& list) {
  list.clear();
  ModbusChannel* channel = nullptr;
  ModbusDevice* device = nullptr;
  bool complete = true;
  std::vector<std::wstring> f;
  for (std::string_view raw : Lines(bytes)) {
    const LineResult r = ReadLine(raw, f);
    if (r == LineResult::Empty) return false;
    const LineKind kind = r == LineResult::Bad ? LineKind::Other : KindOf(f[0]);
    const bool usable = r == LineResult::Fields && f.size() >= FieldsNeeded(kind) &&
                        (kind != LineKind::Block || BlockLineUsable(f));
    if (!usable) {
      // The objects below a line that cannot be taken do not belong to the object above it.
      complete = false;
      if (kind == LineKind::Tcp || kind == LineKind::Com || r == LineResult::Bad) channel = nullptr;
      if (kind != LineKind::Block) device = nullptr;
      continue;
    }
    switch (kind) {
      case LineKind::Tcp: {
        auto c = std::make_unique<CTcpChannel>(list);
        SetTcpFields(*c, f);
        channel = c.get();
        device = nullptr;
        list.push_back(std::move(c));
        break;
      }
      case LineKind::Com: {
        auto c = std::make_unique<CComChannel>(list);
        SetComFields(*c, f);
        channel = c.get();
        device = nullptr;
        list.push_back(std::move(c));
        break;
      }
      case LineKind::Device: {
        if (channel == nullptr) break;
        auto d = std::make_unique<ModbusDevice>(channel, list);
        SetDeviceFields(*d, f);
        device = d.get();
        channel->Devices.push_back(std::move(d));
        break;
      }
      case LineKind::Block: {
        if (device == nullptr) break;
        auto b = std::make_unique<ModbusDataBlock>(device);
        SetNewBlockFields(*b, f);
        device->Blocks.push_back(std::move(b));
        break;
      }
      case LineKind::Other: break;
    }
  }
  return complete;
}

bool LoadConfigFile(const std::wstring& path, ChannelList& list) {
  if (path.empty()) return false;
  std::vector<uint8_t> bytes;
  if (!platform::ReadFileBytes(path, bytes)) return false;
  return LoadConfigBytes(bytes, list);
}

bool SaveConfigBytes(const ChannelList& list, std::vector<uint8_t>& bytes, std::wstring* error) {
  bytes.clear();
  auto put = [&](const std::vector<std::wstring>& fields) {
    const auto encoded = platform::WideToCp936(JoinCsvFields(fields));
    if (!encoded) {
      if (error) *error = L"text cannot be written in code page 936: " + fields[1];
      return false;
    }
    bytes.insert(bytes.end(), encoded->begin(), encoded->end());
    bytes.push_back('\r');
    bytes.push_back('\n');
    return true;
  };
  auto num = [](int64_t v) { return std::to_wstring(static_cast<int32_t>(v)); };
  for (const auto& c : list) {
    std::vector<std::wstring> f;
    if (IsComChannel(*c)) {
      const auto& s = static_cast<const CComChannel&>(*c);
      f = {L"$ComChannel", s.Name, s.Description, num(s.RefreshMs.load()), num(s.TimeoutMs), num(s.Enabled),
           num(s.RequestsPerBatch), s.PortName, num(s.BaudRate), num(s.DataBits), num(s.StopBits), num(s.Parity),
           num(s.Encoding)};
    } else {
      const auto& t = static_cast<const CTcpChannel&>(*c);
      f = {L"$TcpChannel", t.Name, t.Description, num(t.RefreshMs.load()), num(t.TimeoutMs), num(t.Enabled),
           num(t.RequestsPerBatch), t.IpAddress, num(t.Port)};
    }
    if (!put(f)) return false;
    for (const auto& d : c->Devices) {
      if (!put({L"$Device", d->Name, d->Description, num(d->DeviceNumber), num(d->UnitId)})) return false;
      for (const auto& b : d->Blocks) {
        if (!put({L"$DataBlock", b->Name, b->Description, num(b->Start), num(b->Length), num(b->Area), num(b->RefreshMs),
                  num(b->DataType)}))
          return false;
      }
    }
  }
  return true;
}

bool SaveConfigFile(const std::wstring& path, const ChannelList& list, std::wstring* error) {
  if (path.empty()) {
    if (error) *error = L"no configuration file";
    return false;
  }
  std::vector<uint8_t> bytes;
  if (!SaveConfigBytes(list, bytes, error)) return false;
  return platform::WriteFileBytes(path, bytes, error);
}

bool ReloadConfigBytes(const std::vector<uint8_t>& bytes, ChannelList& list,
                       std::vector<std::unique_ptr<ModbusChannel>>* removed) {
  for (auto& c : list) {
    c->StaleMark = 1;
    for (auto& d : c->Devices) {
      d->StaleMark = 1;
      for (auto& b : d->Blocks) b->StaleMark = 1;
    }
  }
  ModbusChannel* channel = nullptr;
  ModbusDevice* device = nullptr;
  bool complete = true;
  std::vector<std::unique_ptr<ModbusChannel>> replaced;
  std::vector<std::wstring> f;
  for (std::string_view raw : Lines(bytes)) {
    const LineResult r = ReadLine(raw, f);
    if (r == LineResult::Empty) {
      complete = false;
      break;
    }
    const LineKind kind = r == LineResult::Bad ? LineKind::Other : KindOf(f[0]);
    const bool usable = r == LineResult::Fields && f.size() >= FieldsNeeded(kind) &&
                        (kind != LineKind::Block || BlockLineUsable(f));
    if (!usable) {
      complete = false;
      if (kind == LineKind::Tcp || kind == LineKind::Com || r == LineResult::Bad) channel = nullptr;
      if (kind != LineKind::Block) device = nullptr;
      continue;
    }
    if (kind == LineKind::Tcp || kind == LineKind::Com) {
      const ModbusChannel::Kind wanted = kind == LineKind::Tcp ? ModbusChannel::Kind::Tcp : ModbusChannel::Kind::Serial;
      auto it = std::find_if(list.begin(), list.end(), [&](const auto& c) { return c->Name == f[1]; });
      if (it != list.end() && (*it)->GetKind() == wanted) {
        ModbusChannel& c = **it;
        const int newEnabled = Int(f[5]);
        c.Description = Text(f[2]);
        c.RefreshMs = UInt(f[3]);
        c.TimeoutMs = UInt(f[4]);
        c.ReloadAction = c.Enabled == newEnabled ? -1 : newEnabled;
        c.Enabled = newEnabled;
        c.RequestsPerBatch = Batch(f[6]);
        bool settingsChanged = false;
        if (kind == LineKind::Tcp) {
          auto& t = static_cast<CTcpChannel&>(c);
          const std::wstring ip = Text(f[7]);
          const int port = Int(f[8]);
          settingsChanged = t.IpAddress != ip || t.Port != port;
          t.IpAddress = ip;
          t.Port = port;
        } else {
          auto& s = static_cast<CComChannel&>(c);
          CComChannel probe(list);
          SetComFields(probe, f);
          settingsChanged = s.PortName != probe.PortName || s.BaudRate != probe.BaudRate || s.DataBits != probe.DataBits ||
                            s.StopBits != probe.StopBits || s.Parity != probe.Parity || s.Encoding != probe.Encoding;
          s.PortName = probe.PortName;
          s.BaudRate = probe.BaudRate;
          s.DataBits = probe.DataBits;
          s.StopBits = probe.StopBits;
          s.Parity = probe.Parity;
          s.Encoding = probe.Encoding;
        }
        // A running channel takes new line or address settings only by opening anew.
        if (c.Enabled == 1 && settingsChanged && c.ReloadAction == -1) c.ReloadAction = 2;
        c.StaleMark = 0;
        channel = &c;
      } else {
        std::unique_ptr<ModbusChannel> fresh;
        if (kind == LineKind::Tcp) {
          auto t = std::make_unique<CTcpChannel>(list);
          SetTcpFields(*t, f);
          fresh = std::move(t);
        } else {
          auto s = std::make_unique<CComChannel>(list);
          SetComFields(*s, f);
          fresh = std::move(s);
        }
        fresh->ReloadAction = fresh->Enabled;
        channel = fresh.get();
        if (it != list.end()) {
          // Same name, other kind: the line's channel takes the old one's place.
          replaced.push_back(std::move(*it));
          *it = std::move(fresh);
        } else {
          list.push_back(std::move(fresh));
        }
      }
      device = nullptr;
      continue;
    }
    if (kind == LineKind::Device) {
      if (channel == nullptr) continue;
      auto it = std::find_if(channel->Devices.begin(), channel->Devices.end(), [&](const auto& d) { return d->Name == f[1]; });
      if (it != channel->Devices.end()) {
        ModbusDevice& d = **it;
        d.Description = Text(f[2]);
        d.DeviceNumber = Int(f[3]);
        d.UnitId = Int(f[4]);
        d.StaleMark = 0;
        device = &d;
      } else {
        auto d = std::make_unique<ModbusDevice>(channel, list);
        SetDeviceFields(*d, f);
        device = d.get();
        channel->Devices.push_back(std::move(d));
      }
      continue;
    }
    if (kind == LineKind::Block) {
      if (device == nullptr) continue;
      auto it = std::find_if(device->Blocks.begin(), device->Blocks.end(), [&](const auto& b) { return b->Name == f[1]; });
      if (it != device->Blocks.end()) {
        ModbusDataBlock& b = **it;
        b.Description = Text(f[2]);
        const uint32_t start = UInt(f[3]);
        const uint32_t length = UInt(f[4]);
        if (start != b.Start || length != b.Length) b.SetRange(start, length, b.Length);
        b.Area = UInt(f[5]);
        b.RefreshMs = UInt(f[6]);
        b.DataType = UInt(f[7]);
        b.StaleMark = 0;
      } else {
        auto b = std::make_unique<ModbusDataBlock>(device);
        SetNewBlockFields(*b, f);
        device->Blocks.push_back(std::move(b));
      }
    }
  }
  if (complete) {
    for (auto it = list.begin(); it != list.end();) {
      if ((*it)->StaleMark == 1) {
        replaced.push_back(std::move(*it));
        it = list.erase(it);
        continue;
      }
      auto& devices = (*it)->Devices;
      devices.erase(std::remove_if(devices.begin(), devices.end(), [](const auto& d) { return d->StaleMark == 1; }),
                    devices.end());
      for (auto& d : devices)
        d->Blocks.erase(std::remove_if(d->Blocks.begin(), d->Blocks.end(), [](const auto& b) { return b->StaleMark == 1; }),
                        d->Blocks.end());
      ++it;
    }
  }
  for (auto& c : list) {
    c->StaleMark = 0;
    for (auto& d : c->Devices) {
      d->StaleMark = 0;
      for (auto& b : d->Blocks) b->StaleMark = 0;
    }
  }
  if (removed != nullptr)
    for (auto& c : replaced) removed->push_back(std::move(c));
  return complete;
}

bool ReloadConfigFile(const std::wstring& path, ChannelList& list, std::vector<std::unique_ptr<ModbusChannel>>* removed) {
  if (path.empty()) return false;
  std::vector<uint8_t> bytes;
  if (!platform::ReadFileBytes(path, bytes)) return false;
  return ReloadConfigBytes(bytes, list, removed);
}

}  // namespace modbusdrv
