// A small reader and writer of private-profile ("INI") files: "[Section]" headers and
// "Key=Value" lines, names matched without regard to ASCII case, values kept as the bytes of
// the file (the caller decides the code page). Lines the writer does not touch, comments
// included, are kept as they are, so a file edited by hand survives a save.
//
// A section is the first one of its name in the file (later sections of the same name are
// kept but never read or written); its keys are the "Key=Value" lines up to the next section
// header, lines starting with ";" are comments, and the first line of a key counts. The lines
// are indexed when they are parsed and the index follows every change, so a lookup costs the
// same whatever the size of the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace platform {

class IniFile {
 public:
  // Reads a file. A missing file gives an empty profile and true; a file that exists but
  // cannot be read gives false (and the reason), so that a later Save does not replace it.
  bool Load(const std::wstring& path, std::wstring* error = nullptr);
  void Parse(std::string_view bytes);

  // The whole profile as file bytes, lines ended by CR LF.
  std::string Serialize() const;
  // Writes the whole profile atomically: the old file stays untouched on any failure.
  bool Save(const std::wstring& path, std::wstring* error = nullptr) const;

  // The value of a key, blanks trimmed at both ends and one pair of enclosing double quotes
  // removed; nullopt when the section or the key is missing.
  std::optional<std::string> GetRaw(std::string_view section, std::string_view key) const;

  // Text of at most maxChars bytes (longer values are cut); the default when the key is
  // missing.
  std::string GetString(std::string_view section, std::string_view key, std::string_view defaultValue,
                        size_t maxChars) const;

  // Integer: the default when the key is missing or empty; otherwise the leading number of
  // the value (optional blanks and sign, decimal or "0x" hexadecimal digits, wrapping at 32
  // bits); a value that does not start with a number reads as 0.
  int32_t GetInt(std::string_view section, std::string_view key, int32_t defaultValue) const;

  // Struct form: two upper-case hexadecimal digits per byte followed by the checksum byte
  // (sum of the bytes, modulo 256). False, with `out` untouched, when the key is missing, the
  // length does not match, a digit is not hexadecimal or the checksum differs.
  bool GetStruct(std::string_view section, std::string_view key, void* out, size_t size) const;

  // Replaces the value of the key (the first one when the file repeats it) or adds the key
  // at the end of its section; a missing section is added at the end of the file.
  void SetString(std::string_view section, std::string_view key, std::string_view value);
  void SetInt(std::string_view section, std::string_view key, int64_t value);
  void SetStruct(std::string_view section, std::string_view key, const void* data, size_t size);

  static std::string EncodeStruct(const void* data, size_t size);
  static bool DecodeStruct(std::string_view text, void* out, size_t size);

 private:
  // One section, by the first header of its name. Lines of the section are counted from the
  // header, so that a line added to an earlier section only moves the headers after it.
  struct Section {
    size_t header = 0;  // line of the header
    size_t end = 1;     // one past the section's last line that is not blank
    // Key name (blanks trimmed, ASCII letters folded to lower case) to its first line.
    std::unordered_map<std::string, size_t> keys;
  };

  // The section of that name, or null.
  const Section* FindSection(std::string_view section) const;
  // Rebuilds the index from the lines.
  void Reindex();
  // Indexes the lines from `first` on, which lie after every line indexed so far and begin
  // with a section header or blank lines.
  void IndexFrom(size_t first);

  std::vector<std::string> lines_;
  // Sections in file order, and their folded names to their place in it.
  std::vector<Section> sections_;
  std::unordered_map<std::string, size_t> sectionIndex_;
};

}  // namespace platform
