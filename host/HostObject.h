// HostObject: the base of every object a host hands to a document in its host collection
// (under "ParentForm" and "Log"). The library recognises what an entry is by its type.
#pragma once

#include <memory>

#include "common/Collection.h"

namespace tamrel {

class HostObject {
 public:
  virtual ~HostObject() = default;
};

// The host collection passed to clsRC::Init: host objects keyed "ParentForm" and "Log".
using HostObjects = Collection<std::shared_ptr<HostObject>>;

}  // namespace tamrel
