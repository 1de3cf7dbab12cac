#include "sysblock/model/modules/module_params.h"

#include "sysblock/model/modules/param_text.h"

namespace corvell {

namespace {

// Signal types, ranges and labels of the analog input types. Istrel and Jorlith measure
// current on channels 0-3 and voltage on 4-7; Rastok's sub-dialog is constructed with other
// values than its Default action sets.
void SetAnalogInputValues(AnalogInputParams& params, bool construction) {
  const uint8_t type = params.type();
  for (size_t k = 0; k < params.channelCount(); ++k) {
    AnalogInputChannel& ch = params.channels[k];
    bool voltage = false;  // 0-10 V range (upper 10, alarm upper 9) instead of 0-20
    switch (type) {
      case 4:
      case 18:
        voltage = k >= 4;
        ch.signalType = voltage ? 1 : 0;
        break;
      case 9:
        voltage = true;
        ch.signalType = 1;
        break;
      case 12:
        voltage = construction;
        ch.signalType = construction ? 1 : 0;
        break;
      default:
        ch.signalType = 0;
        break;
    }
    ch.engineeringLower = L"0.00";
    ch.engineeringUpper = voltage ? L"10.00" : L"20.00";
    ch.alarmLower = L"1.00";
    ch.alarmUpper = voltage ? L"9.00" : L"19.00";
    ch.forceValue = L"500.00";
    ch.forceFlag = 0;
    if (type == 10) ch.label = FormatText(L"AI08%d:", static_cast<int>(k));
    if (type == 12) ch.label = FormatText(L"AI%d:", static_cast<int>(k));
  }
}

}  // namespace

AnalogInputParams::AnalogInputParams(uint8_t type) : type_(type) { SetAnalogInputValues(*this, true); }

void AnalogInputParams::ResetToDefaults() { SetAnalogInputValues(*this, false); }

AnalogOutputParams::AnalogOutputParams(uint8_t type) : type_(type) { ResetToDefaults(); }

void AnalogOutputParams::ResetToDefaults() {
  for (AnalogOutputChannel& ch : channels) {
    ch.signalType = 1;
    ch.stopOutput = 0;
    ch.engineeringLower = L"0.00";
    ch.engineeringUpper = type_ == 11 ? L"1000.00" : L"20.00";
    ch.forceValue = L"500.00";
    ch.forceFlag = 0;
  }
}

TemperatureInputParams::TemperatureInputParams(uint8_t type) : type_(type) {
  ResetToDefaults();
  if (type_ == 6) {
    for (TemperatureChannel& ch : channels) {
      ch.lowerLimit = L"0";
      ch.upperLimit = L"1000";
    }
  }
}

void TemperatureInputParams::ResetToDefaults() {
  for (TemperatureChannel& ch : channels) {
    ch.sensorIndex = 3;
    ch.lowerLimit = L"0.00";
    ch.upperLimit = L"1000.00";
    ch.forceValue = L"500.00";
    ch.forceFlag = 0;
  }
  coldJunctionIndex = 0;
}

void UvendarParams::ResetToDefaults() {
  aiSignalType.fill(1);
  aiEngineeringUpper.fill(20.0f);
  aiEngineeringLower.fill(0.0f);
  aiAlarmUpper.fill(19.0f);
  aiAlarmLower.fill(1.0f);
  aiForceValue.fill(500.0f);
  aiForceFlag.fill(0);
  aoForceFlag.fill(0);
  aoSignalType.fill(1);
  aoEngineeringUpper.fill(20.0f);
  aoEngineeringLower.fill(0.0f);
  aoStopOutput.fill(0.0f);
  aoForceValue.fill(500.0f);
}

}  // namespace corvell
