// Variant: the optional argument that selects an operation (clsRC::Init, clsStyle::Init,
// DisplayWordCount). It is missing, a number or a text.
#pragma once

#include <string>
#include <string_view>
#include <variant>

#include "common/Int16.h"

namespace tamrel {

class Variant {
 public:
  Variant() noexcept = default;  // the missing-argument marker
  Variant(int value) : value_(static_cast<double>(value)) {}           // NOLINT: implicit
  Variant(Int16 value) : value_(static_cast<double>(int(value))) {}    // NOLINT: implicit
  Variant(double value) : value_(value) {}                             // NOLINT: implicit
  Variant(std::string value) : value_(std::move(value)) {}             // NOLINT: implicit
  Variant(const char* value) : value_(std::string(value)) {}           // NOLINT: implicit
  Variant(std::string_view value) : value_(std::string(value)) {}      // NOLINT: implicit

  bool IsMissing() const noexcept { return std::holds_alternative<std::monostate>(value_); }
  bool IsNumber() const noexcept { return std::holds_alternative<double>(value_); }
  bool IsText() const noexcept { return std::holds_alternative<std::string>(value_); }

  // The text of a text value; empty for a number or a missing value.
  std::string_view TextValue() const noexcept {
    const std::string* text = std::get_if<std::string>(&value_);
    return text ? std::string_view(*text) : std::string_view();
  }

  // The value read as a number: a number as it is, a text by its leading number, missing as 0.
  double AsNumber() const noexcept;

 private:
  std::variant<std::monostate, double, std::string> value_;
};

// The operation code a Variant selects: 0 when missing; otherwise its leading number rounded
// half to even ("2", "2abc" and 2.0 give 2; "abc" gives 0). Error 6 outside the 16-bit range.
Int16 ToOperationCode(const Variant& operation);

}  // namespace tamrel
