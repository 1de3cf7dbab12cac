// The parameter values of each module type as its sub-dialog holds them: what a module record
// is built from and what loading a record fills in. Each type's values start at the values its
// sub-dialog is constructed with; ResetToDefaults() is the sub-dialog's Default action. Point
// states are 0 (cleared), 1 (ticked) or 2 (indeterminate); list indexes are -1 for no
// selection and are stored as their low byte (so -1 becomes 255).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace corvell {

// Filter time list of the digital input types: 0 "5", 1 "10", 2 "20", 3 "40" (ms).
inline constexpr int kDefaultFilterIndex = 2;

// Types 1 (Parlune, 16 inputs) and 13 (Fennick, 32 inputs).
template <size_t Points>
struct DigitalInputParams {
  static constexpr size_t kPoints = Points;
  static constexpr size_t kGroups = Points / 8;

  std::array<int, kGroups> filterIndex;  // group g: inputs 8g to 8g+7
  std::array<int, Points> forceStates;
  std::array<std::wstring, kGroups> rowLabels;

  DigitalInputParams() {
    ResetToDefaults();
    for (size_t g = 0; g < kGroups; ++g) {
      rowLabels[g] = L"I" + std::to_wstring(g) + L".0-I" + std::to_wstring(g) + L".7";
      if (Points == 16) rowLabels[g] += L":";
    }
  }
  // Filters 2 (20 ms), every point indeterminate; the row labels stay.
  void ResetToDefaults() {
    filterIndex.fill(kDefaultFilterIndex);
    forceStates.fill(2);
  }
};

// Types 2 (Voskel, 8 outputs), 7 (Belquin) and 8 (Dorvane, 16 outputs), 14 (Glostra, 32).
template <size_t Points>
struct DigitalOutputParams {
  static constexpr size_t kPoints = Points;
  static constexpr size_t kRows = Points / 8;

  std::array<int, Points> commFailStates;  // state on a communication failure
  std::array<int, Points> forceStates;
  int selectAll = 0;                       // the "All Choose" box; not stored in the record
  std::wstring addressRangeLabel;
  std::array<std::wstring, kRows> forceRowLabels;

  DigitalOutputParams() {
    ResetToDefaults();
    if (Points == 8) {
      addressRangeLabel = L"Q0.0-Q0.7:";
      forceRowLabels[0] = L"Q1.0-Q1.7:";
    } else if (Points == 16) {
      addressRangeLabel = L"Q0.0-Q0.7";
      forceRowLabels.fill(L"Q1.0-Q1.7:");
    }
  }
  // Every point indeterminate, "All Choose" clear; the labels stay.
  void ResetToDefaults() {
    commFailStates.fill(2);
    forceStates.fill(2);
    selectAll = 0;
  }
  // The "All Choose" action: every communication failure state ticked (1) or cleared (0).
  void ApplySelectAll(bool ticked) { commFailStates.fill(ticked ? 1 : 0); }
};

// Type 20 (Hulvern): 8 inputs and 8 outputs.
struct HulvernParams {
  int filterIndex;
  std::array<int, 8> inputForceStates;
  std::array<int, 8> commFailStates;
  std::array<int, 8> outputForceStates;
  std::wstring inputRowLabel = L"x0-x7";
  std::wstring outputRangeLabel = L"y0-y7";
  std::wstring outputForceRowLabel = L"y0-y7";

  HulvernParams() { ResetToDefaults(); }
  void ResetToDefaults() {
    filterIndex = kDefaultFilterIndex;
    inputForceStates.fill(2);
    commFailStates.fill(2);
    outputForceStates.fill(2);
  }
};

// Types 16 (Solvind, 8 channels) and 17 (Trevasse, 6 channels): fixed range 0 to 100.
template <size_t Channels>
struct FixedRangeOutputParams {
  static constexpr size_t kChannels = Channels;

  std::array<uint8_t, Channels> stopOutputs;
  std::array<float, Channels> forceValues;
  std::array<int, Channels> forceFlags;

  FixedRangeOutputParams() { ResetToDefaults(); }
  void ResetToDefaults() {
    stopOutputs.fill(0);
    forceValues.fill(500.0f);
    forceFlags.fill(0);
  }
};

// Type 21 (Varnock): twelve thermocouple channels in two banks of six; only bank 1
// (channels 0 to 5) travels in the record.
struct VarnockParams {
  static constexpr size_t kChannels = 12;
  static constexpr size_t kStoredChannels = 6;

  std::array<int, kChannels> sensorIndex;  // 0 S, 1 K, 2 B, 3 potential, 4 J
  std::array<float, kChannels> lowerLimits;
  std::array<float, kChannels> upperLimits;
  std::array<float, kChannels> forceValues;
  std::array<int, kChannels> forceFlags;
  int coldJunctionIndex;                   // 0 Cu50, 1 25 degrees, 2 no compensation
  std::array<std::wstring, kStoredChannels> rowLabels;

  VarnockParams() { ResetToDefaults(); }
  // All twelve channels and the cold junction; the row labels stay.
  void ResetToDefaults() {
    sensorIndex.fill(3);
    lowerLimits.fill(0.0f);
    upperLimits.fill(1000.0f);
    forceValues.fill(500.0f);
    forceFlags.fill(0);
    coldJunctionIndex = 0;
  }
};

// One channel of an analog input module (types 4, 9, 10, 12, 18).
struct AnalogInputChannel {
  int signalType = 0;
  std::wstring engineeringLower;
  std::wstring engineeringUpper;
  std::wstring label;
  std::wstring alarmLower;
  std::wstring alarmUpper;
  std::wstring forceValue;
  int forceFlag = 0;
};

// Types 4 (Istrel), 10 (Quenlow), 12 (Rastok), 18 (Jorlith): 8 channels; 9 (Pruvel): 4.
struct AnalogInputParams {
  static constexpr size_t kMaxChannels = 8;

  explicit AnalogInputParams(uint8_t type);
  uint8_t type() const { return type_; }
  size_t channelCount() const { return type_ == 9 ? 4 : 8; }
  void ResetToDefaults();

  std::array<AnalogInputChannel, kMaxChannels> channels;  // Pruvel uses channels 0 to 3

 private:
  uint8_t type_;
};

// Types 3 (Kavrin), 11 (Lumbrek), 19 (Mordale): four analog outputs.
struct AnalogOutputChannel {
  int signalType = 1;
  uint8_t stopOutput = 0;  // entered as text; StopOutputFromText() refuses what is not 0 to 255
  std::wstring engineeringLower;
  std::wstring engineeringUpper;
  std::wstring label;
  std::wstring forceValue;
  int forceFlag = 0;
};

struct AnalogOutputParams {
  static constexpr size_t kChannels = 4;

  explicit AnalogOutputParams(uint8_t type);
  uint8_t type() const { return type_; }
  void ResetToDefaults();  // the labels stay

  std::array<AnalogOutputChannel, kChannels> channels;

 private:
  uint8_t type_;
};

// Types 5 (Oskavel, six thermocouple channels and a cold junction) and 6 (Nuvask, four RTD
// channels).
struct TemperatureChannel {
  int sensorIndex = 3;
  std::wstring lowerLimit;
  std::wstring upperLimit;
  std::wstring label;
  std::wstring forceValue;
  int forceFlag = 0;
};

struct TemperatureInputParams {
  static constexpr size_t kMaxChannels = 6;

  explicit TemperatureInputParams(uint8_t type);
  uint8_t type() const { return type_; }
  size_t channelCount() const { return type_ == 5 ? 6 : 4; }
  bool hasColdJunction() const { return type_ == 5; }
  void ResetToDefaults();  // the labels stay

  std::array<TemperatureChannel, kMaxChannels> channels;  // Nuvask uses channels 0 to 3
  int coldJunctionIndex = 0;                              // Oskavel only

 private:
  uint8_t type_;
};

// Type 15 (Uvendar): four analog inputs and two analog outputs, held as numbers.
struct UvendarParams {
  std::array<int, 4> aiSignalType;  // 0 "0-10V", 1 "0-5V", 2 "0-20mA", 3 "4-20mA"
  std::array<float, 4> aiEngineeringUpper;
  std::array<float, 4> aiEngineeringLower;
  std::array<float, 4> aiAlarmUpper;
  std::array<float, 4> aiAlarmLower;
  std::array<float, 4> aiForceValue;
  std::array<int, 4> aiForceFlag;
  std::array<int, 2> aoForceFlag;
  std::array<int, 2> aoSignalType;  // 0 stop output, 1 "0-10V", 2 "0-5V", 3 "0-20mA", 4 "4-20mA"
  std::array<float, 2> aoEngineeringUpper;
  std::array<float, 2> aoEngineeringLower;
  std::array<float, 2> aoStopOutput;
  std::array<float, 2> aoForceValue;

  UvendarParams() { ResetToDefaults(); }
  void ResetToDefaults();
};

// Type 22 (Weskarn): one filter type, list "0", "1", "2".
struct WeskarnParams {
  int filterType = 0;
  void ResetToDefaults() { filterType = 0; }
};

// Type 23 (Yolvask): encoding of channels 1 to 4, 0 "AB方式" or 1 "脉冲加方向".
struct YolvaskParams {
  std::array<int, 4> encodings{};
  void ResetToDefaults() { encodings.fill(0); }
};

// The values of every module type's sub-dialog, one set per type as the "System module" page
// holds them. The analog limit validation reads several of them whatever module is current.
struct ModuleParameterSet {
  DigitalInputParams<16> parlune;
  DigitalOutputParams<8> voskel;
  AnalogOutputParams kavrin{3};
  AnalogInputParams istrel{4};
  TemperatureInputParams oskavel{5};
  TemperatureInputParams nuvask{6};
  DigitalOutputParams<16> belquin;
  DigitalOutputParams<16> dorvane;
  AnalogInputParams pruvel{9};
  AnalogInputParams quenlow{10};
  AnalogOutputParams lumbrek{11};
  AnalogInputParams rastok{12};
  DigitalInputParams<32> fennick;
  DigitalOutputParams<32> glostra;
  UvendarParams uvendar;
  FixedRangeOutputParams<8> solvind;
  FixedRangeOutputParams<6> trevasse;
  AnalogInputParams jorlith{18};
  AnalogOutputParams mordale{19};
  HulvernParams hulvern;
  VarnockParams varnock;
  WeskarnParams weskarn;
  YolvaskParams yolvask;
};

}  // namespace corvell
