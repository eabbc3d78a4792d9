// Error message format and word splitting helpers.
#include "common/modCommonTools.h"

namespace tamrel {

std::string FormatErrorMessage(std::string_view procedure, std::string_view step,
                               std::string_view description, std::int32_t number) {
  std::string message;
  message.reserve(procedure.size() + step.size() + description.size() + 16);
  message.append(procedure).append("-").append(step).append(": ").append(description);
  message.append(" (").append(std::to_string(number)).append(")");
  return message;
}

}  // namespace tamrel
