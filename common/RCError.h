// The one error type of the library: an error number with a plain description.
// Numbers are stable and part of the public contract; descriptions are ours.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

namespace tamrel {

// Error numbers raised by the library.
namespace err {
inline constexpr std::int32_t InvalidArgument = 5;  // missing key, bad argument
inline constexpr std::int32_t Overflow = 6;         // 16-bit value out of range
inline constexpr std::int32_t OutOfRange = 9;       // position beyond a collection
inline constexpr std::int32_t TypeMismatch = 13;    // wrong kind of value or object
inline constexpr std::int32_t FileNotFound = 53;    // script file does not exist
inline constexpr std::int32_t ReadFailed = 57;      // reading the file failed
inline constexpr std::int32_t FileAccess = 75;      // file exists but cannot be read
inline constexpr std::int32_t BadFileFormat = 321;  // text encoding is malformed
inline constexpr std::int32_t ObjectNotSet = 91;    // a required object is missing
inline constexpr std::int32_t NoSuchMember = 438;   // host object lacks the member used
inline constexpr std::int32_t DuplicateKey = 457;   // key already in a collection
inline constexpr std::int32_t BeginExpected = 1001; // a block header not followed by BEGIN
}  // namespace err

// Plain description of an error number ("" for numbers the library never raises).
std::string_view DescribeError(std::int32_t number) noexcept;

class RCError : public std::exception {
 public:
  explicit RCError(std::int32_t number);
  RCError(std::int32_t number, std::string description);

  std::int32_t Number() const noexcept { return number_; }
  const std::string& Description() const noexcept { return description_; }
  const char* what() const noexcept override { return what_.c_str(); }

 private:
  std::int32_t number_;
  std::string description_;
  std::string what_;
};

[[noreturn]] void Raise(std::int32_t number);
[[noreturn]] void Raise(std::int32_t number, std::string description);

}  // namespace tamrel
