// Reading a Variant as a number and as an operation code.
#include "common/Variant.h"

#include "common/Numbers.h"

namespace tamrel {

double Variant::AsNumber() const noexcept {
  if (const double* number = std::get_if<double>(&value_)) return *number;
  if (const std::string* text = std::get_if<std::string>(&value_)) return LeadingNumber(*text);
  return 0;
}

Int16 ToOperationCode(const Variant& operation) {
  if (operation.IsMissing()) return 0;
  return ToInt16(operation.AsNumber());
}

}  // namespace tamrel
