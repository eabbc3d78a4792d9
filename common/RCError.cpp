// Error numbers, their descriptions and the raise helpers.
#include "common/RCError.h"

namespace tamrel {

std::string_view DescribeError(std::int32_t number) noexcept {
  switch (number) {
    case err::InvalidArgument: return "Invalid argument or missing key";
    case err::Overflow: return "Overflow";
    case err::OutOfRange: return "Index out of range";
    case err::TypeMismatch: return "Type mismatch";
    case err::FileNotFound: return "File not found";
    case err::ReadFailed: return "Read error";
    case err::FileAccess: return "Path or file access error";
    case err::BadFileFormat: return "Malformed text encoding";
    case err::ObjectNotSet: return "Object not set";
    case err::NoSuchMember: return "Object does not support this member";
    case err::DuplicateKey: return "Key is already associated with an element of this collection";
    case err::BeginExpected: return "BEGIN expected after the block header";
    default: return "";
  }
}

RCError::RCError(std::int32_t number) : RCError(number, std::string(DescribeError(number))) {}

RCError::RCError(std::int32_t number, std::string description)
    : number_(number),
      description_(std::move(description)),
      what_(description_ + " (" + std::to_string(number) + ")") {}

void Raise(std::int32_t number) { throw RCError(number); }
void Raise(std::int32_t number, std::string description) { throw RCError(number, std::move(description)); }

}  // namespace tamrel
