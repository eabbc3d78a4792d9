// The document's word count and totals: sums over its dialogs, menus, string table, version
// resources and
// accelerator tables, kept in 16 bits like every count of the model.
#include "document/clsRC.h"

namespace tamrel {

std::int32_t clsRC::DisplayWordCount(const Variant& vOperation) const {
  const Variant operation = vOperation.IsMissing() ? Variant(0) : vOperation;
  Int16 total = 0;
  for (const clsDialog& dialog : Dialogs) total += dialog.DisplayWordCount(operation);
  for (const clsMenu& menu : Menus) total += menu.DisplayWordCount(operation);
  total += StringTable.DisplayWordCount(operation);
  for (const clsVersionInfo& info : VersionInfos) total += info.DisplayWordCount(operation);
  return total;
}

Int16 clsRC::TotalAccelerators() const {
  Int16 total = 0;
  for (const clsAccelerator& table : Accelerators) total += table.Keys.Count();
  return total;
}

Int16 clsRC::TotalControls() const {
  Int16 total = 0;
  for (const clsDialog& dialog : Dialogs) total += dialog.Controls.Count();
  return total;
}

}  // namespace tamrel
