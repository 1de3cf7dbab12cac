#include "platform/ini_file.h"

#include <cstdio>

#include "platform/file_util.h"

namespace platform {

namespace {

constexpr size_t npos = std::string::npos;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Name of a "[Section]" line, or nullopt for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
  std::string_view t = Trim(line);
  if (t.empty() || t.front() != '[') return std::nullopt;
  t.remove_prefix(1);
  size_t close = t.find(']');
  if (close != npos) t = t.substr(0, close);
  return Trim(t);
}

// A name as the index holds it: blanks trimmed, ASCII letters in lower case.
std::string FoldName(std::string_view name) {
  name = Trim(name);
  std::string folded(name);
  for (char& c : folded) c = LowerAscii(c);
  return folded;
}

bool IsComment(std::string_view line) {
  std::string_view t = Trim(line);
  return !t.empty() && t.front() == ';';
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

bool IniFile::Load(const std::wstring& path, std::wstring* error) {
  lines_.clear();
  Reindex();
  if (FolderExists(path)) {
    if (error) *error = L"is a folder: " + path;
    return false;
  }
  if (!FileExists(path)) return true;
  std::vector<uint8_t> bytes;
  if (!ReadFileBytes(path, bytes, error)) return false;
  Parse(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  return true;
}

void IniFile::Parse(std::string_view bytes) {
  lines_.clear();
  while (!bytes.empty()) {
    size_t end = bytes.find('\n');
    std::string_view line = bytes.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines_.emplace_back(line);
    if (end == npos) break;
    bytes.remove_prefix(end + 1);
  }
  Reindex();
}

void IniFile::Reindex() {
  sections_.clear();
  sectionIndex_.clear();
  IndexFrom(0);
}

void IniFile::IndexFrom(size_t first) {
  // Place in sections_ of the section the current line belongs to; npos before the first
  // header and inside a later section of a name seen before.
  size_t current = npos;
  for (size_t i = first; i < lines_.size(); ++i) {
    const std::string_view line = lines_[i];
    if (auto name = SectionName(line)) {
      const auto [entry, added] = sectionIndex_.try_emplace(FoldName(*name), sections_.size());
      current = added ? entry->second : npos;
      if (added) sections_.push_back(Section{i, 1, {}});
      continue;
    }
    if (current == npos || Trim(line).empty()) continue;
    Section& section = sections_[current];
    const size_t offset = i - section.header;
    section.end = offset + 1;
    if (IsComment(line)) continue;
    const size_t eq = line.find('=');
    if (eq != npos) section.keys.try_emplace(FoldName(line.substr(0, eq)), offset);
  }
}

std::string IniFile::Serialize() const {
  std::string out;
  for (const std::string& line : lines_) {
    out += line;
    out += "\r\n";
  }
  return out;
}

bool IniFile::Save(const std::wstring& path, std::wstring* error) const {
  const std::string bytes = Serialize();
  return WriteFileBytes(path, bytes.data(), bytes.size(), error);
}

const IniFile::Section* IniFile::FindSection(std::string_view section) const {
  const auto found = sectionIndex_.find(FoldName(section));
  return found == sectionIndex_.end() ? nullptr : &sections_[found->second];
}

std::optional<std::string> IniFile::GetRaw(std::string_view section, std::string_view key) const {
  const Section* s = FindSection(section);
  if (s == nullptr) return std::nullopt;
  const auto k = s->keys.find(FoldName(key));
  if (k == s->keys.end()) return std::nullopt;
  std::string_view line = lines_[s->header + k->second];
  std::string_view value = Trim(line.substr(line.find('=') + 1));
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
  return std::string(value);
}

std::string IniFile::GetString(std::string_view section, std::string_view key, std::string_view defaultValue,
                               size_t maxChars) const {
  std::string value = GetRaw(section, key).value_or(std::string(defaultValue));
  if (value.size() > maxChars) value.resize(maxChars);
  return value;
}

int32_t IniFile::GetInt(std::string_view section, std::string_view key, int32_t defaultValue) const {
  auto raw = GetRaw(section, key);
  if (!raw || raw->empty()) return defaultValue;
  std::string_view v = *raw;
  bool negative = false;
  if (!v.empty() && (v.front() == '-' || v.front() == '+')) {
    negative = v.front() == '-';
    v.remove_prefix(1);
  }
  unsigned base = 10;
  if (v.size() >= 2 && v[0] == '0' && (v[1] == 'x' || v[1] == 'X')) {
    base = 16;
    v.remove_prefix(2);
  }
  uint32_t value = 0;
  for (char c : v) {
    int d = HexDigit(c);
    if (d < 0 || static_cast<unsigned>(d) >= base) break;
    value = value * base + static_cast<uint32_t>(d);
  }
  if (negative) value = 0u - value;
  return static_cast<int32_t>(value);
}

bool IniFile::GetStruct(std::string_view section, std::string_view key, void* out, size_t size) const {
  auto raw = GetRaw(section, key);
  return raw && DecodeStruct(*raw, out, size);
}

std::string IniFile::EncodeStruct(const void* data, size_t size) {
  static const char digits[] = "0123456789ABCDEF";
  const auto* bytes = static_cast<const uint8_t*>(data);
  std::string text;
  text.reserve(2 * (size + 1));
  uint8_t sum = 0;
  for (size_t i = 0; i < size; ++i) {
    sum = static_cast<uint8_t>(sum + bytes[i]);
    text += digits[bytes[i] >> 4];
    text += digits[bytes[i] & 0xF];
  }
  text += digits[sum >> 4];
  text += digits[sum & 0xF];
  return text;
}

bool IniFile::DecodeStruct(std::string_view text, void* out, size_t size) {
  if (text.size() != 2 * (size + 1)) return false;
  std::vector<uint8_t> bytes(size + 1);
  for (size_t i = 0; i <= size; ++i) {
    int hi = HexDigit(text[2 * i]), lo = HexDigit(text[2 * i + 1]);
    if (hi < 0 || lo < 0) return false;
    bytes[i] = static_cast<uint8_t>(hi * 16 + lo);
  }
  uint8_t sum = 0;
  for (size_t i = 0; i < size; ++i) sum = static_cast<uint8_t>(sum + bytes[i]);
  if (sum != bytes[size]) return false;
  if (size) std::copy(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size), static_cast<uint8_t*>(out));
  return true;
}

void IniFile::SetString(std::string_view section, std::string_view key, std::string_view value) {
  std::string line = std::string(Trim(key)) + "=" + std::string(value);
  const auto found = sectionIndex_.find(FoldName(section));
  if (found == sectionIndex_.end()) {
    const size_t first = lines_.size();
    if (!lines_.empty() && !Trim(lines_.back()).empty()) lines_.emplace_back();
    lines_.push_back("[" + std::string(Trim(section)) + "]");
    lines_.push_back(std::move(line));
    IndexFrom(first);
    return;
  }
  const size_t place = found->second;
  Section& s = sections_[place];
  const std::string name = FoldName(key);
  const auto k = s.keys.find(name);
  if (k != s.keys.end()) {
    // The new line has the same key (letter case aside), so the index stays as it is.
    lines_[s.header + k->second] = std::move(line);
    return;
  }
  // After the last non-blank line of the section, so a blank line before the next header stays.
  const size_t at = s.header + s.end;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
  const std::string_view added = lines_[at];
  // A key written as "[..." makes a header of its line, which splits the section.
  if (SectionName(added)) {
    Reindex();
    return;
  }
  for (size_t later = place + 1; later < sections_.size(); ++later) ++sections_[later].header;
  s.end += 1;
  if (IsComment(added)) return;
  // The name as the line reads it: a key holding "=" ends at its first one.
  s.keys.try_emplace(FoldName(added.substr(0, added.find('='))), at - s.header);
}

void IniFile::SetInt(std::string_view section, std::string_view key, int64_t value) {
  SetString(section, key, std::to_string(value));
}

void IniFile::SetStruct(std::string_view section, std::string_view key, const void* data, size_t size) {
  SetString(section, key, EncodeStruct(data, size));
}

}  // namespace platform
