// Feeds arbitrary bytes to the PLC type description reader (the XML part; the libraries and the
// image it would load afterwards are not involved). Every fault must be an ExceptionError.
#include <cstddef>
#include <cstdint>

#include "core/env/exception_error.h"
#include "core/env/plc_type.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Brenno::PlcType record;
  try {
    Brenno::ParseXmlBuffer(record.ParseArea, L"PlcType.xml", data, size, &record, &Brenno::PlcType::PlcTypeStartElement,
                           &Brenno::PlcType::PlcTypeEndElement);
    record.Description = record.ParseSlots;
    record.DescriptionPath = L"PlcType.xml";
    Brenno::BuildExchSupportList(record);
  } catch (const Brenno::ExceptionError&) {
  }
  return 0;
}
