// The whole model of a document as a JSON value (every member of every object, in declaration
// order), and an indented text rendering of the same value. The schema is in the README.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "document/clsRC.h"

namespace tamrel::tool {

using Json = nlohmann::ordered_json;

Json ModelToJson(const clsRC& rc);

// "Key: value" lines, nested objects and arrays indented by two blanks, array members marked
// "- " on their first line. Texts are written as they are held, without quoting or escapes.
std::string JsonToText(const Json& value);

}  // namespace tamrel::tool
